// The document lifecycle: new, open, save, save as, backups, the recent-file
// and document-folder menus, dropped files, the already-open check, the
// settings-file menu and the file-type registration.
#pragma once

#include <QObject>
#include <QStringList>
#include <string>

#include "app/DocumentRegistry.h"
#include "base/TextEncoding.h"
#include "exchange/ExchangeFormat.h"
#include "outline/DocumentState.h"

class QAction;
class QMenu;

namespace nuv {

class IWindowServices;

enum class TSaveResult { Saved, Cancelled, Failed };

class TDocumentController : public QObject {
  Q_OBJECT
 public:
  explicit TDocumentController(IWindowServices& window, QObject* parent = nullptr);

  QAction* acNew;
  QAction* acOpen;
  QAction* acSave;
  QAction* acSaveAs;
  QAction* acSaveSettingsAs;
  QAction* miRegExpPk2;
  QMenu* miHistory;          // "ファイルの履歴(&H)"
  QMenu* miTextHistory;      // "テキストファイルの履歴(&T)"
  QMenu* pmFolder;           // the open button's drop-down
  QMenu* miSettingsFiles;    // "設定ファイルの切り替え(&G)"
  QMenu* pmDrop;             // the drop menu
  QAction* miDropOpen;
  QAction* miDropInsert;

  // Opens a document: ".pk2" by the binary reader, anything else as
  // hierarchical text. `interactive` is false only at start-up.
  void OpenDocument(const std::string& path, bool interactive = true);
  bool OpenBinary(const std::string& path, bool interactive = true);
  // Hierarchical text, or OPML and Markdown by their extensions.
  bool OpenText(const std::string& path);
  bool OpenExchange(const std::string& path, TExchangeFormat format);
  // A Palm DOC or MeDoc file decoded into a new untitled document.
  bool OpenPalmDoc(const std::string& path);
  void New();
  TSaveResult Save();
  TSaveResult SaveAs();
  TSaveResult SaveBinary(const std::string& path);
  // Writes hierarchical text in `form`; under TextSave the document becomes that file.
  TSaveResult SaveText(const std::string& path, bool noTitles, const TTextForm& form = TTextForm{});
  // OPML or Markdown become the document's file as text does; HTML is only written.
  TSaveResult SaveExchange(const std::string& path, TExchangeFormat format);
  // Copies the document file to its ".bak" before a save; a failure is shown and the save goes on.
  void MakeBackup(const std::string& path);
  // Whether the caller may go on: nothing to save, or the save question answered.
  bool AskSave();
  // The close query: true when the window may close.
  bool CloseQuery();
  std::string ProposedFileName() const;
  // The already-open check; true when the caller may go on opening.
  bool AlreadyOpen(const std::string& path, bool interactive);

  void FillFolderMenu(const std::string& folder);
  void RebuildHistoryMenus();
  void RebuildSettingsFileMenu();
  // Files dropped on the window: shows the drop menu at the pointer.
  void FilesDropped(const QStringList& paths);
  void DropOpen();
  void DropInsert();
  const QStringList& DroppedFiles() const { return m_dropped; }
  TDocumentRegistry& Registry() { return m_registry; }
  void RegisterFileType();

 private:
  void acOpenExecute();
  // The save question (or the save, under NoAskSave); true when the caller may go on.
  bool SaveOrDiscard();
  void FinishOpen(const std::string& path);
  // After a text-like document was read: its format, the text history, expansion, selection.
  void ShowTextDocument(const std::string& path, TDocumentFormat format, bool keepExpansion);
  void TextSaved(const std::string& path, TDocumentFormat format, const TTextForm& form = TTextForm{});
  void OpenHistoryItem(const std::string& path, bool binary);
  void OpenFolderItem(const std::string& path);
  void SaveSettingsAsExecute();

  IWindowServices& m_window;
  TDocumentRegistry m_registry;
  QStringList m_dropped;
};

}  // namespace nuv
