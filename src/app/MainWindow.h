// Tfmnuv, the main window: the page tree, the title bar and the page editor,
// the toolbars, the status bar and the page switch between tree and editor.
// Commands live in controllers that reach the window through IWindowServices.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

#include "app/FileDialogs.h"
#include "app/ProgramLauncher.h"
#include "app/PagePictures.h"
#include "app/SessionState.h"
#include "base/Prompts.h"
#include "config/NuvConfig.h"
#include "app/WindowServices.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTree.h"
#include "outline/PageSwitch.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QComboBox;
class QLineEdit;
class QMenu;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace nuv {

class TAutoClipCommands;
class TClipboardCommands;
class TConfigCommands;
class TConvCommands;
class TDateBar;
class TDocumentController;
class TEditModeCommands;
class TExchangeCommands;
class TFindCommands;
class TLinkCommands;
class TMarkCommands;
class TOutlineView;
class TPageCommands;
class TIniFile;
class TMacroCommands;
class TToolCommands;
class TNuvStatusBar;
class TOutlineModel;
class TPageEditorView;
class TRecoveryController;
class TTextCommands;

class Tfmnuv : public QMainWindow, public IWindowServices, public IPageSwitchHost {
  Q_OBJECT
 public:
  // Tests may give their own dialogs, prompts and launcher; null uses Qt's.
  explicit Tfmnuv(std::unique_ptr<IFileDialogs> dialogs = nullptr, std::unique_ptr<IPrompts> prompts = nullptr,
                  std::unique_ptr<IProgramLauncher> launcher = nullptr, QWidget* parent = nullptr);
  ~Tfmnuv() override;

  // Opens the command-line document (or the last one) and clears the flags.
  void FormShow(const QStringList& arguments);
  // True when the start-up found the document open elsewhere and the program should end.
  bool QuitRequested() const { return m_quitRequested; }
  // Shows the window with the saved bounds and state.
  void ShowFromSession();

  // IWindowServices
  QWidget* Window() override { return this; }
  TOutlineTree& Tree() override { return m_tree; }
  TDocumentState& Document() override { return m_doc; }
  TPageSwitch& PageSwitch() override { return *m_pageSwitch; }
  IPageEditor& Editor() override;
  IPrompts& Prompts() override { return *m_prompts; }
  IFileDialogs& Dialogs() override { return *m_dialogs; }
  IProgramLauncher& Launcher() override { return *m_launcher; }
  TnuvConfig& Config() override { return m_config; }
  TFormatOptions FormatOptions() const override;
  TSessionState& Session() override { return m_session; }
  TTreeNode* SelectedPage() override;
  void SelectPage(TTreeNode* page) override;
  TTreeNode* TopVisiblePage() override;
  void ScrollTreeToTop() override;
  void ShowStatusMessage(const std::string& sjis) override;
  void SetModifiedIndicator(bool modified) override;
  void UpdateCaption() override;
  void ShowCaretPosition() override;
  TTreeNode* AddPageAbove() override;
  void LoadSettingsFrom(const std::string& name) override;
  void ApplySettings() override;
  void WriteWindowSections(TIniFile& ini) override;
  void ClearPageLists() override;
  void QuitWithoutSaving() override;
  TFocusArea FocusArea() const override;
  TOutlineView* TreeView() override { return tvnuv; }
  QTreeWidget* ChildrenList() override { return lvItem; }
  QTreeWidget* SearchList() override { return lvnuv; }
  QLineEdit* TitleBox() override { return edTitle; }
  QComboBox* FindBox() override { return cbFind; }
  void ShowSearchList() override;
  const TPagePictures& Pictures() const override { return m_pictures; }
  void NewPageSetup(TTreeNode* page, bool startTitleEdit = true) override;
  void FillChildrenList(TTreeNode* page) override;
  bool ListPaneVisible() const override;
  void UpdateActions() override;
  QMenu* Menu(TMenuSlot slot) override { return m_menus[static_cast<int>(slot)]; }

  // IPageSwitchHost
  std::string TitleBoxText() const override;
  void SetTitleBoxText(std::string_view sjis) override;
  void SetTitleBoxEnabled(bool enabled) override;
  void SetTreeReadOnly(bool readOnly) override;
  void SetMarkCommandEnabled(bool enabled) override;
  void ShowPageAttributes(const TTreeNode* page) override;

  // For tests and the controllers.
  TDocumentController& Documents() { return *m_documents; }
  TPageCommands& Pages() { return *m_pages; }
  TClipboardCommands& Clipboard() { return *m_clipboard; }
  TMarkCommands& Marks() { return *m_marks; }
  TExchangeCommands& Exchange() { return *m_exchange; }
  TEditModeCommands& EditModes() { return *m_editModes; }
  TConfigCommands& Settings() { return *m_settings; }
  QComboBox* EditModeBox() const { return cbEditMode; }
  QSpinBox* WrapByteBox() const { return edWrapByte; }
  TRecoveryController& Recovery() { return *m_recovery; }
  TFindCommands& Finds() { return *m_find; }
  TTextCommands& TextCommands() { return *m_textCommands; }
  TAutoClipCommands& AutoClip() { return *m_autoClip; }
  TConvCommands& Conversions() { return *m_conversions; }
  TLinkCommands& Links() { return *m_links; }
  TDateBar* DateFields() const { return m_dateBar; }
  TOutlineModel& Model() { return *m_model; }
  // The page editor as a widget, for focus and input events; commands use Editor().
  QWidget* PageEditor() const;
  TNuvStatusBar* Status() const { return m_status; }
  bool TreeReadOnly() const { return m_treeReadOnly; }
  bool MarkCommandEnabled() const { return m_markEnabled; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildWidgets();
  void BuildActions();
  // The empty menus of every slot, before the controllers add their items.
  void BuildMenuBar();
  void BuildMenus();
  // The editor's part of the settings: view, colours, brackets, wheel, wrap box.
  void ApplyEditorSettings();
  // With WrapRight on, rows end at the editor's right edge.
  void edxnuvResize();
  // No bars when every row fits; vertical with word wrap, else both.
  void UpdateEditorScrollBars();
  // The editor's popup: its own items, then those the controllers add.
  void BuildEditorPopup();
  void ApplyTreeAndListLook();
  void ReadSession();
  void WriteSession();
  void ApplySessionLayout();
  void CaptureSessionLayout();

  void tvnuvChange(const QModelIndex& current);
  void ConnectCommands();
  void PruneListEntries();
  void lvItemSelect();
  void edxnuvChange();
  void edxnuvCaretMoved();
  void edTitleChange(const QString& text);
  void OnModelReset();
  void miSpilitModeExecute();
  void miPirkaCompatibleExecute(bool checked);
  void acHelpExecute();
  // Runs a command so that no exception reaches the event loop.
  template <typename F>
  void Guard(F&& command);

  TOutlineTree m_tree;
  TPagePictures m_pictures;
  TDocumentState m_doc;
  TnuvConfig m_config;
  TPageSwitchSettings m_switchSettings;
  TSessionState m_session;
  std::unique_ptr<IPrompts> m_prompts;
  std::unique_ptr<IFileDialogs> m_dialogs;
  std::unique_ptr<IProgramLauncher> m_launcher;
  std::unique_ptr<TPageSwitch> m_pageSwitch;
  TDocumentController* m_documents = nullptr;
  TPageCommands* m_pages = nullptr;
  TClipboardCommands* m_clipboard = nullptr;
  TMarkCommands* m_marks = nullptr;
  TExchangeCommands* m_exchange = nullptr;
  TEditModeCommands* m_editModes = nullptr;
  TConfigCommands* m_settings = nullptr;
  TRecoveryController* m_recovery = nullptr;
  TFindCommands* m_find = nullptr;
  TTextCommands* m_textCommands = nullptr;
  TAutoClipCommands* m_autoClip = nullptr;
  TConvCommands* m_conversions = nullptr;
  TLinkCommands* m_links = nullptr;
  TToolCommands* m_tools = nullptr;
  TMacroCommands* m_macros = nullptr;
  TDateBar* m_dateBar = nullptr;
  TOutlineModel* m_model = nullptr;
  TNodeId m_shownId = 0;  // the page whose text the editor holds
  bool m_settingTitle = false;
  bool m_treeReadOnly = false;
  bool m_markEnabled = true;
  bool m_closing = false;
  bool m_quitRequested = false;

  TOutlineView* tvnuv = nullptr;
  TPageEditorView* edxnuv = nullptr;
  QLineEdit* edTitle = nullptr;
  QToolButton* btLabel = nullptr;
  QToolButton* btMark = nullptr;
  QComboBox* cbEditMode = nullptr;
  QComboBox* cbFind = nullptr;
  QSpinBox* edWrapByte = nullptr;
  QTabWidget* pnlList = nullptr;
  QTreeWidget* lvItem = nullptr;
  QTreeWidget* lvnuv = nullptr;
  QSplitter* m_mainSplitter = nullptr;
  QSplitter* m_rightSplitter = nullptr;
  TNuvStatusBar* m_status = nullptr;
  QToolBar* tbStandard = nullptr;
  QToolBar* tbTree = nullptr;
  QToolBar* tbEdit = nullptr;
  QToolBar* tbFind = nullptr;
  QToolBar* tbEditor = nullptr;
  QToolBar* tbTitle = nullptr;
  QToolBar* tbDate = nullptr;

  QAction* acViewTree = nullptr;
  QAction* acViewList = nullptr;
  QAction* miSpilitMode = nullptr;
  QAction* miViewStatusBar = nullptr;
  QAction* miShowLineNo = nullptr;
  QAction* acBoxPaste = nullptr;
  QAction* miPirkaCompatible = nullptr;
  QAction* acExit = nullptr;
  QAction* acHelp = nullptr;
  std::vector<QAction*> m_toolBarToggles;
  std::array<QMenu*, static_cast<int>(TMenuSlot::Count)> m_menus{};
};

}  // namespace nuv
