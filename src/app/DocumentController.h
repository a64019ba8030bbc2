// Opening, saving and closing documents: the file commands of the window.
#pragma once

#include <QObject>
#include <string>

class QAction;

namespace nuv {

class IWindowServices;

class TDocumentController : public QObject {
  Q_OBJECT
 public:
  explicit TDocumentController(IWindowServices& window, QObject* parent = nullptr);

  QAction* acOpen;
  QAction* acSave;
  QAction* acSaveAs;

  // Opens a document: a ".pk2" file by the binary reader, any other file as
  // hierarchical text. A missing file starts a new document under that name.
  void OpenDocument(const std::string& path);
  bool OpenBinary(const std::string& path);
  bool OpenText(const std::string& path);
  // The save command; false when it was cancelled or failed.
  bool Save();
  bool SaveAs();
  bool SaveBinary(const std::string& path);
  bool SaveText(const std::string& path, bool noTitles);
  // The close query: true when the window may close.
  bool CloseQuery();
  // The save-as dialog's proposal from the first page's title.
  std::string ProposedFileName() const;

 private:
  void acOpenExecute();
  void FinishOpen(const std::string& path);

  IWindowServices& m_window;
};

}  // namespace nuv
