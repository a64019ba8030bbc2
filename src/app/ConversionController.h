// The text conversion commands: "半角・全角" and "小文字・大文字" open the
// conversion dialog on their page; OK converts the selection or the whole page.
#pragma once

#include <QObject>

#include "app/ConvDialog.h"

class QAction;

namespace nuv {

class IWindowServices;

class TConvCommands : public QObject {
  Q_OBJECT
 public:
  explicit TConvCommands(IWindowServices& window, QObject* parent = nullptr);

  QAction* miConvHanZen;
  QAction* miConvKoOo;

  // Shows the dialog on a page; OK converts.
  void ShowConvDialog(TConvPage page);
  // Converts the editor's selection, or its whole text when nothing is
  // selected, as one edit the user can undo.
  void Convert(const TConvChoice& choice);
  // The dialog, made on first use and kept, so its choices stay for the next time.
  TfmConv* Dialog();

 private:
  IWindowServices& m_window;
  TfmConv* m_dialog = nullptr;
};

}  // namespace nuv
