// The settings command acConfig: runs the settings dialog, then writes the
// settings file and applies the new settings to the window.
#pragma once

#include <QObject>
#include <functional>

class QAction;

namespace nuv {

class IWindowServices;
class TfmConfig;

class TConfigCommands : public QObject {
  Q_OBJECT
 public:
  // Adds acConfig to the options menu.
  TConfigCommands(IWindowServices& window, QObject* parent = nullptr);

  QAction* acConfig = nullptr;
  void acConfigExecute();

  // When set, called with the dialog instead of showing it (tests fill it in
  // and close it).
  std::function<void(TfmConfig&)> BeforeShow;

 private:
  IWindowServices& m_window;
};

}  // namespace nuv
