// The main window: widgets, actions, the page switch and the close query.
#include "app/MainWindow.h"

#include <QAction>
#include <cstdio>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QMimeData>
#include <QTimer>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Actions.h"
#include "app/AppTexts.h"
#include "app/AutoClipController.h"
#include "app/ClipboardController.h"
#include "app/config/ConfigController.h"
#include "app/ConversionController.h"
#include "app/DateBar.h"
#include "app/EditModeController.h"
#include "app/ExchangeController.h"
#include "app/FindController.h"
#include "app/LinkController.h"
#include "app/PageRows.h"
#include "app/MarkController.h"
#include "app/OutlineView.h"
#include "app/PageCommandsController.h"
#include "app/DocumentController.h"
#include "app/FileDialogs.h"
#include "app/NuvStatusBar.h"
#include "app/OutlineModel.h"
#include "app/QtPrompts.h"
#include "app/QtText.h"
#include "app/RecoveryController.h"
#include "app/TextCommandsController.h"
#include "app/TitleValidator.h"
#include "app/ToolController.h"
#include "app/MacroController.h"
#include "base/Codec.h"
#include "base/Error.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "base/ProgramFolder.h"
#include "config/FontFallback.h"
#include "config/OutlineSettings.h"
#include "editor/view/PageEditorView.h"
#include "outline/OutlineTexts.h"
#include "outline/PageCommands.h"
#include "outline/PagePictures.h"

namespace nuv {

namespace {

QToolBar* MakeBar(QWidget* parent, const char* name, const QString& caption) {
  auto* bar = new QToolBar(caption, parent);
  bar->setObjectName(name);
  bar->setIconSize(QSize(16, 16));
  return bar;
}

}  // namespace

template <typename F>
void Tfmnuv::Guard(F&& command) {
  try {
    command();
  } catch (const ENuvError& e) {
    m_prompts->Error(e.Message());
  } catch (const std::exception& e) {
    m_prompts->Error(ToSjisOrEmpty(QString::fromUtf8(e.what())));
  }
}

Tfmnuv::Tfmnuv(std::unique_ptr<IFileDialogs> dialogs, std::unique_ptr<IPrompts> prompts,
               std::unique_ptr<IProgramLauncher> launcher, QWidget* parent)
    : QMainWindow(parent),
      m_prompts(std::move(prompts)),
      m_dialogs(std::move(dialogs)),
      m_launcher(std::move(launcher)) {
  setObjectName("fmnuv");
  if (!m_dialogs) m_dialogs = std::make_unique<TQtFileDialogs>();
  if (!m_prompts) m_prompts = std::make_unique<TQtPrompts>(this);
  if (!m_launcher) m_launcher = std::make_unique<TQtProgramLauncher>();
  m_model = new TOutlineModel(m_tree, m_pictures, this);
  BuildWidgets();
  BuildMenuBar();
  m_pageSwitch = std::make_unique<TPageSwitch>(m_tree, *edxnuv, *this, *m_prompts, m_doc, m_switchSettings);
  m_documents = new TDocumentController(*this, this);
  m_menus[static_cast<int>(TMenuSlot::Drop)] = m_documents->pmDrop;
  m_pages = new TPageCommands(*this, this);
  m_clipboard = new TClipboardCommands(*this, this);
  m_marks = new TMarkCommands(*this, btMark, btLabel, this);
  m_exchange = new TExchangeCommands(*this, this);
  m_editModes = new TEditModeCommands(*this, *edxnuv, cbEditMode, this);
  connect(m_exchange, &TExchangeCommands::TextHistoryChanged, m_documents, &TDocumentController::RebuildHistoryMenus);
  m_recovery = new TRecoveryController(*this, *m_model, m_documents->Registry(), this);
  m_find = new TFindCommands(*this, this);
  m_links = new TLinkCommands(*this, *edxnuv, m_documents->DroppedFiles(), this);
  m_pages->SetClipboardActions(m_clipboard->acCut, m_clipboard->acCopy, m_clipboard->acPaste);
  // A replace that changed several pages is taken back as one step.
  m_clipboard->SetDocumentUndo([this] { return m_find->CanUndoReplace(); }, [this] { return m_find->UndoReplace(); });
  connect(&m_documents->Registry(), &TDocumentRegistry::ActivationRequested, this, [this] {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (qEnvironmentVariableIsSet("NUV_TRACE_ACTIVATION")) std::fprintf(stderr, "nuv: activated\n");
  });
  BuildActions();
  BuildMenus();
  m_tools = new TToolCommands(*this, this);
  m_macros = new TMacroCommands(*this, this);
  m_settings = new TConfigCommands(*this, this);
  // Controllers that add to the menus the window has filled.
  m_textCommands = new TTextCommands(*this, edxnuv, tbEditor, this);
  m_autoClip = new TAutoClipCommands(*this, *m_pages, this);
  // A macro processes window events while it runs: a copied text waits for its end.
  m_autoClip->AddBusyCheck([this] { return m_macros->Running(); });
  m_conversions = new TConvCommands(*this, this);
  ConnectCommands();
  ReadSession();
  m_find->HistoryLoaded();
  ApplySettings();
  ApplySessionLayout();
  m_documents->RebuildHistoryMenus();
  m_documents->RebuildSettingsFileMenu();
  UpdateCaption();
  setAcceptDrops(true);
}

Tfmnuv::~Tfmnuv() {
  // Closing the widgets below moves the focus and the selection; nothing may
  // reach the page switch from here on.
  m_closing = true;
  for (QObject* sender : std::initializer_list<QObject*>{edxnuv, edTitle, tvnuv, tvnuv->selectionModel(), m_model,
                                                        qApp, QApplication::clipboard(), lvItem, lvnuv})
    disconnect(sender, nullptr, this, nullptr);
  m_tree.SetObserver(nullptr);
}

IPageEditor& Tfmnuv::Editor() { return *edxnuv; }

QWidget* Tfmnuv::PageEditor() const { return edxnuv; }

void Tfmnuv::BuildWidgets() {
  resize(835, 562);
  setMinimumSize(400, 300);

  tvnuv = new TOutlineView(this);
  tvnuv->setModel(m_model);
  tvnuv->setItemDelegate(new TOutlineDelegate(tvnuv));
  tvnuv->setHeaderHidden(true);
  tvnuv->setUniformRowHeights(true);
  tvnuv->setMinimumWidth(30);
  tvnuv->setSelectionMode(QAbstractItemView::SingleSelection);
  tvnuv->setContextMenuPolicy(Qt::CustomContextMenu);
  tvnuv->setIconSize(QSize(34, 16));

  // The list pane: the children of the page and the search results.
  pnlList = new QTabWidget(this);
  pnlList->setObjectName("pnlList");
  auto makeList = [this](const char* name) {
    auto* list = new QTreeWidget(pnlList);
    list->setObjectName(name);
    list->setHeaderLabels({QStringLiteral("タイトル")});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    return list;
  };
  lvItem = makeList("lvItem");
  lvnuv = makeList("lvnuv");
  pnlList->addTab(lvItem, QStringLiteral("項目"));
  pnlList->addTab(lvnuv, QStringLiteral("検索"));
  pnlList->setVisible(false);

  auto* editorPane = new QWidget(this);
  auto* editorLayout = new QVBoxLayout(editorPane);
  editorLayout->setContentsMargins(0, 0, 0, 0);
  editorLayout->setSpacing(0);

  tbEditor = MakeBar(editorPane, "tbEditor", QStringLiteral("エディタ"));
  cbEditMode = new QComboBox(tbEditor);
  cbEditMode->setObjectName("cbEditMode");
  cbEditMode->setToolTip(QStringLiteral("編集モード"));
  cbEditMode->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  tbEditor->addWidget(cbEditMode);
  cbFind = new QComboBox(tbEditor);
  cbFind->setObjectName("cbFind");
  cbFind->setEditable(true);
  cbFind->setInsertPolicy(QComboBox::NoInsert);
  cbFind->setMinimumContentsLength(16);
  cbFind->lineEdit()->setPlaceholderText(QStringLiteral("検索文字列"));
  tbEditor->addWidget(cbFind);
  edWrapByte = new QSpinBox(tbEditor);
  edWrapByte->setObjectName("edWrapByte");
  edWrapByte->setRange(20, 200);
  edWrapByte->setWrapping(true);
  tbEditor->addWidget(edWrapByte);

  tbTitle = MakeBar(editorPane, "tbTitle", QStringLiteral("タイトル"));
  btLabel = new QToolButton(tbTitle);
  btLabel->setObjectName("btLabel");
  btMark = new QToolButton(tbTitle);
  btMark->setObjectName("btMark");
  edTitle = new QLineEdit(tbTitle);
  edTitle->setObjectName("edTitle");
  edTitle->setValidator(new TTitleValidator(edTitle));
  edTitle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  tbTitle->addWidget(btLabel);
  tbTitle->addWidget(btMark);
  tbTitle->addWidget(edTitle);

  tbDate = MakeBar(editorPane, "tbDate", QStringLiteral("日付"));
  m_dateBar = new TDateBar(tbDate);
  tbDate->addWidget(m_dateBar);
  tbDate->setVisible(false);

  edxnuv = new TPageEditorView(editorPane);
  edxnuv->View().InitPageEditorDefaults();
  edxnuv->ViewFountain().InitPageEditorDefaults();
  editorLayout->addWidget(tbEditor);
  editorLayout->addWidget(tbTitle);
  editorLayout->addWidget(tbDate);
  editorLayout->addWidget(edxnuv, 1);

  m_rightSplitter = new QSplitter(Qt::Vertical, this);
  m_rightSplitter->addWidget(pnlList);
  m_rightSplitter->addWidget(editorPane);
  m_rightSplitter->setCollapsible(0, false);
  pnlList->setMinimumHeight(40);
  m_rightSplitter->setSizes({193, 369});

  m_mainSplitter = new QSplitter(Qt::Horizontal, this);
  m_mainSplitter->setObjectName("Splitter");
  m_mainSplitter->addWidget(tvnuv);
  m_mainSplitter->addWidget(m_rightSplitter);
  m_mainSplitter->setStretchFactor(1, 1);
  m_mainSplitter->setSizes({257, 578});
  setCentralWidget(m_mainSplitter);

  m_status = new TNuvStatusBar(this);
  setStatusBar(m_status);
  m_status->SetPanel(1, QStringLiteral("挿入"));

  tbStandard = MakeBar(this, "tbStandard", QStringLiteral("標準"));
  tbTree = MakeBar(this, "tbTree", QStringLiteral("ツリー"));
  tbEdit = MakeBar(this, "tbEdit", QStringLiteral("編集"));
  tbFind = MakeBar(this, "tbFind", QStringLiteral("検索"));
  for (QToolBar* bar : {tbStandard, tbTree, tbEdit, tbFind}) addToolBar(Qt::TopToolBarArea, bar);

  connect(tvnuv->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { Guard([&] { tvnuvChange(current); }); });
  connect(tvnuv, &TOutlineView::expanded, this, [this](const QModelIndex& index) {
    m_tree.SetExpanded(m_model->NodeOf(index), true);
    if (m_config.AlwaysSave) m_doc.ViewDirty = true;
  });
  connect(tvnuv, &TOutlineView::collapsed, this, [this](const QModelIndex& index) {
    m_tree.SetExpanded(m_model->NodeOf(index), false);
    if (m_config.AlwaysSave) m_doc.ViewDirty = true;
  });
  connect(m_model, &TOutlineModel::ExpansionRequested, this,
          [this](const QModelIndex& index, bool expanded) { tvnuv->setExpanded(index, expanded); });
  connect(m_model, &TOutlineModel::ResetDone, this, [this] { OnModelReset(); });
  connect(m_model, &TOutlineModel::PagesRemoved, this, [this] { m_doc.DocModified = true; });
  connect(edxnuv, &TEditorView::TextChanged, this, [this] { Guard([&] { edxnuvChange(); }); });
  connect(edxnuv, &TEditorView::CaretMoved, this, [this] { edxnuvCaretMoved(); });
  connect(edxnuv, &TEditorView::InputRefused, this, [this](char32_t codePoint, bool pasted) {
    m_prompts->Error(pasted ? texts::CannotPaste(codePoint) : texts::CannotEncode());
  });
  connect(edxnuv, &TEditorView::OverwriteToggled, this, [this](bool overwrite) {
    m_status->LeaveMessageMode();
    m_status->SetPanel(1, overwrite ? QStringLiteral("上書") : QStringLiteral("挿入"));
  });
  connect(edxnuv, &TEditorView::FocusLost, this, [this] {
    if (!m_closing) Guard([&] { m_pageSwitch->LeavePage(SelectedPage()); });
  });
  connect(edxnuv, &TEditorView::CtrlTabPressed, this, [this] { tvnuv->setFocus(); });
  connect(edTitle, &QLineEdit::textChanged, this, [this](const QString& text) { Guard([&] { edTitleChange(text); }); });
  connect(edWrapByte, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
    m_config.WrapByte = value;
    edxnuv->Editor().WrapOption().SetWrapByte(value);
  });
  connect(edxnuv, &TEditorView::Resized, this, [this] { edxnuvResize(); });
}

void Tfmnuv::BuildActions() {
  acViewTree = MakeAction(this, "acViewTree", QStringLiteral("ツリー(&T)"), QKeySequence(Qt::Key_F9), true);
  acViewTree->setChecked(true);
  connect(acViewTree, &QAction::toggled, tvnuv, &QWidget::setVisible);
  acViewList = MakeAction(this, "acViewList", QStringLiteral("リスト(&L)"), QKeySequence(Qt::Key_F10), true);
  connect(acViewList, &QAction::toggled, this, [this](bool on) {
    pnlList->setVisible(on);
    if (on) FillChildrenList(SelectedPage());
  });
  miSpilitMode = MakeAction(this, "miSpilitMode", QStringLiteral("分割方向の切り替え(&P)"), QKeySequence(Qt::Key_F12));
  connect(miSpilitMode, &QAction::triggered, this, [this] { miSpilitModeExecute(); });
  miViewStatusBar = MakeAction(this, "miViewStatusBar", QStringLiteral("ステータスバー(&S)"), QKeySequence(), true);
  miViewStatusBar->setChecked(true);
  connect(miViewStatusBar, &QAction::toggled, m_status, &QWidget::setVisible);
  const struct {
    const char* name;
    const char* caption;
    QToolBar* bar;
  } toggles[] = {{"miTBStandard", "標準(&S)", tbStandard}, {"miTBTree", "ツリー(&T)", tbTree},
                 {"miTBEdit", "編集(&E)", tbEdit},         {"miTBFind", "検索(&F)", tbFind},
                 {"miTBEditor", "エディタ(&N)", tbEditor}, {"miTBTitle", "タイトル(&T)", tbTitle},
                 {"miTBDate", "日付(&D)", tbDate}};
  for (const auto& t : toggles) {
    QAction* a = MakeAction(this, t.name, QString::fromUtf8(t.caption), QKeySequence(), true);
    QToolBar* bar = t.bar;
    connect(a, &QAction::toggled, bar, &QWidget::setVisible);
    m_toolBarToggles.push_back(a);
  }
  miShowLineNo = MakeAction(this, "miShowLineNo", QStringLiteral("行番号(&L)"), QKeySequence(), true);
  connect(miShowLineNo, &QAction::toggled, this, [this](bool on) {
    m_config.ShowLineNo = on;
    edxnuv->View().Leftbar.SetVisible(on);
    edxnuvResize();
  });
  miPirkaCompatible = MakeAction(this, "miPirkaCompatible", QStringLiteral("Pirka互換モード(&N)"), QKeySequence(), true);
  connect(miPirkaCompatible, &QAction::toggled, this, [this](bool on) { miPirkaCompatibleExecute(on); });
  acExit = MakeAction(this, "acExit", QStringLiteral("終了(&X)"));
  connect(acExit, &QAction::triggered, this, &QWidget::close);
  acHelp = MakeAction(this, "acHelp", QStringLiteral("目次(&C)"), QKeySequence(Qt::Key_F1));
  connect(acHelp, &QAction::triggered, this, [this] { acHelpExecute(); });

  tbStandard->addAction(m_documents->acNew);
  tbStandard->addAction(m_documents->acOpen);
  if (auto* open = qobject_cast<QToolButton*>(tbStandard->widgetForAction(m_documents->acOpen))) {
    open->setMenu(m_documents->pmFolder);
    open->setPopupMode(QToolButton::MenuButtonPopup);
  }
  tbStandard->addAction(m_documents->acSave);
  for (const auto& [action, menu] : {std::pair{m_links->acBack, m_links->pmNodeBack}, {m_links->acForward, m_links->pmNodeForward}}) {
    tbStandard->addAction(action);
    if (auto* button = qobject_cast<QToolButton*>(tbStandard->widgetForAction(action))) {
      button->setMenu(menu);
      button->setPopupMode(QToolButton::MenuButtonPopup);
    }
  }
  tbFind->addAction(acViewTree);
  tbFind->addAction(acViewList);
  tbFind->addAction(m_find->acFind);
  for (QAction* a : {m_find->acFindD, m_find->acFindU, m_find->acFindCancel}) tbEditor->addAction(a);
  for (QAction* a : {m_pages->acNewNodeU, m_pages->acNewNodeD, m_pages->acNewCNode, m_pages->acNewNodeC}) tbTree->addAction(a);
  tbTree->addSeparator();
  tbTree->addAction(m_pages->acDelNode);
  tbTree->addSeparator();
  for (QAction* a : {m_pages->acNodeLeft, m_pages->acNodeRight, m_pages->acNodeUp, m_pages->acNodeDown}) tbTree->addAction(a);
  for (QAction* a : {m_clipboard->acCut, m_clipboard->acCopy, m_clipboard->acPaste}) tbEdit->addAction(a);
  // Shortcuts of actions that are in no menu need the window to hold them.
  addAction(m_pages->acEditNodeText);
}

void Tfmnuv::BuildMenuBar() {
  auto slot = [this](TMenuSlot which) -> QMenu*& { return m_menus[static_cast<int>(which)]; };
  auto top = [&](TMenuSlot which, const char* name, const QString& caption) {
    slot(which) = menuBar()->addMenu(caption);
    slot(which)->setObjectName(name);
  };
  auto sub = [&](TMenuSlot which, TMenuSlot parent, const char* name, const QString& caption) {
    slot(which) = new QMenu(caption, slot(parent));
    slot(which)->setObjectName(name);
  };
  top(TMenuSlot::File, "miFile", QStringLiteral("ファイル(&F)"));
  sub(TMenuSlot::FileInsert, TMenuSlot::File, "miInsert", QStringLiteral("挿入(&I)"));
  sub(TMenuSlot::FileExport, TMenuSlot::File, "miExport", QStringLiteral("エクスポート(&E)"));
  top(TMenuSlot::Edit, "miEdit", QStringLiteral("編集(&E)"));
  top(TMenuSlot::Find, "miFind", QStringLiteral("検索(&S)"));
  top(TMenuSlot::Tree, "miTree", QStringLiteral("ツリー(&T)"));
  top(TMenuSlot::View, "miView", QStringLiteral("表示(&V)"));
  top(TMenuSlot::Tools, "miTool", QStringLiteral("ツール(&L)"));
  sub(TMenuSlot::ExternalTools, TMenuSlot::Tools, "miExtTools", QStringLiteral("外部ツール(&X)"));
  top(TMenuSlot::Options, "miOption", QStringLiteral("オプション(&O)"));
  sub(TMenuSlot::EditMode, TMenuSlot::Options, "miEditMode", QStringLiteral("編集モード(&M)"));
  top(TMenuSlot::Help, "miHelp", QStringLiteral("ヘルプ(&H)"));
  slot(TMenuSlot::EditorPopup) = new QMenu(this);
  slot(TMenuSlot::EditorPopup)->setObjectName("pmEditor");
  slot(TMenuSlot::TreePopup) = new QMenu(this);
  slot(TMenuSlot::TreePopup)->setObjectName("pmTree");
}

void Tfmnuv::BuildMenus() {
  QMenu* file = Menu(TMenuSlot::File);
  file->addAction(m_documents->acNew);
  file->addAction(m_documents->acOpen);
  file->addAction(m_documents->acSave);
  file->addAction(m_documents->acSaveAs);
  file->addSeparator();
  QMenu* insert = Menu(TMenuSlot::FileInsert);
  file->addMenu(insert);
  for (QAction* a : {m_exchange->acInsertText, m_exchange->acInsertWZText, m_exchange->acInsertDocPrc}) insert->addAction(a);
  QMenu* exports = Menu(TMenuSlot::FileExport);
  file->addMenu(exports);
  for (QAction* a : {m_exchange->acSaveToDoc, m_exchange->acSaveToNodeMeDoc, m_exchange->acSaveToMeDoc,
                     m_exchange->acSaveToNodeWZText})
    exports->addAction(a);
  file->addSeparator();
  file->addMenu(m_documents->miHistory);
  file->addMenu(m_documents->miTextHistory);
  file->addSeparator();
  file->addAction(acExit);
  QMenu* edit = Menu(TMenuSlot::Edit);
  for (QAction* a : {m_clipboard->acUndo, m_clipboard->acRedo}) edit->addAction(a);
  edit->addSeparator();
  for (QAction* a : {m_clipboard->acCut, m_clipboard->acCopy, m_clipboard->acPaste, m_clipboard->acSelectAll})
    edit->addAction(a);
  edit->addSeparator();
  edit->addAction(m_clipboard->acBoxSelMode);
  QMenu* tree = Menu(TMenuSlot::Tree);
  for (QAction* a : {m_pages->acNewNodeU, m_pages->acNewNodeD, m_pages->acNewCNode, m_pages->acNewNodeC})
    tree->addAction(a);
  tree->addSeparator();
  tree->addAction(m_pages->acDelNode);
  tree->addSeparator();
  for (QAction* a : {m_pages->acNodeLeft, m_pages->acNodeRight, m_pages->acNodeUp, m_pages->acNodeDown})
    tree->addAction(a);
  tree->addSeparator();
  tree->addAction(m_pages->acFullExpand);
  tree->addAction(m_pages->acFullCollapse);
  tree->addSeparator();
  tree->addAction(m_pages->acUseTrash);
  QMenu* view = Menu(TMenuSlot::View);
  view->addAction(acViewTree);
  view->addAction(acViewList);
  view->addAction(miSpilitMode);
  view->addSeparator();
  view->addAction(miViewStatusBar);
  QMenu* bars = view->addMenu(QStringLiteral("ツールバー(&B)"));
  for (QAction* a : m_toolBarToggles) bars->addAction(a);
  view->addAction(miShowLineNo);
  QMenu* tools = Menu(TMenuSlot::Tools);
  tools->addMenu(Menu(TMenuSlot::ExternalTools));
  Menu(TMenuSlot::ExternalTools)->setEnabled(false);
  QMenu* options = Menu(TMenuSlot::Options);
  options->addAction(miPirkaCompatible);
  options->addMenu(Menu(TMenuSlot::EditMode));
  options->addSeparator();
  options->addMenu(m_documents->miSettingsFiles);
  options->addAction(m_documents->acSaveSettingsAs);
  options->addSeparator();
  options->addAction(m_documents->miRegExpPk2);
  Menu(TMenuSlot::Help)->addAction(acHelp);

  QMenu* pmTree = Menu(TMenuSlot::TreePopup);
  for (QAction* a : {m_clipboard->acCut, m_clipboard->acCopy, m_clipboard->acPaste}) pmTree->addAction(a);
  pmTree->addSeparator();
  pmTree->addAction(m_marks->miChangeMark);
  pmTree->addAction(m_marks->miChangeLabel);
  pmTree->addSeparator();
  pmTree->addAction(m_pages->miTreeSortChild);
  pmTree->addAction(m_pages->miJoinNode);
  BuildEditorPopup();
  Menu(TMenuSlot::EditorPopup)->addAction(m_pages->miDivideNote);
}

TFormatOptions Tfmnuv::FormatOptions() const { return FormatOptionsOf(m_config); }

void Tfmnuv::ApplySettings() {
  m_switchSettings = PageSwitchSettingsOf(m_config);
  ApplyEditorSettings();
  {
    const QSignalBlocker block(miPirkaCompatible);
    miPirkaCompatible->setChecked(m_config.PirkaCompatible);
  }
  edTitle->setEnabled(!m_config.PirkaCompatible);
  m_treeReadOnly = m_config.PirkaCompatible;
  tvnuv->SetReadOnly(m_treeReadOnly);
  {
    const QSignalBlocker block(miShowLineNo);
    miShowLineNo->setChecked(m_config.ShowLineNo);
  }
  m_marks->ApplyLabelNames();
  m_tools->SettingsChanged();
  ApplyTreeAndListLook();
  UpdateActions();
}

namespace {

// A settings colour: 0x00BBGGRR, or a system colour taken from the palette.
QColor ColorOf(int32_t value, QPalette::ColorRole systemRole) {
  if (value < 0) return QPalette().color(systemRole);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QPalette::ColorRole SystemRole(int32_t value, QPalette::ColorRole fallback) {
  if (value == kColorWindow) return QPalette::Base;
  if (value == kColorWindowText) return QPalette::Text;
  return fallback;
}

QFont FontOf(const std::string& faceSjis, int points) {
  const std::string family =
      FontFamilyFor(faceSjis, [](const std::string& utf8) { return QFontDatabase::hasFamily(QString::fromStdString(utf8)); });
  QFont font(QString::fromStdString(family));
  font.setPointSize(std::max(1, points));
  return font;
}

void ApplyLook(QWidget* widget, const QFont& font, int32_t text, int32_t background) {
  widget->setFont(font);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Text, ColorOf(text, SystemRole(text, QPalette::Text)));
  palette.setColor(QPalette::Base, ColorOf(background, SystemRole(background, QPalette::Base)));
  widget->setPalette(palette);
}

}  // namespace

void Tfmnuv::ApplyTreeAndListLook() {
  ApplyLook(tvnuv, FontOf(m_config.TreeFontFace, m_config.TreeFontSize), m_config.TreeFontColor, m_config.TreeBkColor);
  const QFont listFont = FontOf(m_config.ListFontFace, m_config.ListFontSize);
  for (QWidget* list : {static_cast<QWidget*>(lvItem), static_cast<QWidget*>(lvnuv)})
    ApplyLook(list, listFont, m_config.ListFontColor, m_config.ListBkColor);
}

void Tfmnuv::LoadSettingsFrom(const std::string& name) {
  const std::string path = name == kDefaultSettingsName ? ProgramFile(kDefaultSettingsName) : name;
  m_session.Load(TIniFile(path));
  m_find->HistoryLoaded();
  m_config.SwitchTo(name);
  ApplySettings();
  ApplySessionLayout();
  m_documents->RebuildHistoryMenus();
}

void Tfmnuv::WriteWindowSections(TIniFile& ini) {
  CaptureSessionLayout();
  m_session.Save(ini);
}

void Tfmnuv::ClearPageLists() {
  lvnuv->clear();
  m_links->ClearHistory();
}

void Tfmnuv::QuitWithoutSaving() {
  m_quitRequested = true;
  m_closing = true;
  hide();
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void Tfmnuv::ConnectCommands() {
  connect(tvnuv, &TOutlineView::AddBelowRequested, m_pages->acNewNodeD, &QAction::trigger);
  connect(tvnuv, &TOutlineView::DeleteRequested, m_pages->acDelNode, &QAction::trigger);
  connect(tvnuv, &TOutlineView::IconCtrlClicked, this, [this](const QModelIndex& index, bool onIcon) {
    Guard([&] { m_marks->IconCtrlClicked(m_model->NodeOf(index), onIcon); });
  });
  connect(tvnuv, &TOutlineView::EditingStarted, this, [this] { m_pages->tvnuvEditing(); });
  connect(m_model, &TOutlineModel::TitleEdited, this, [this](TTreeNode* page, const QString& title) {
    Guard([&] { m_pages->tvnuvEdited(page, title); });
  });
  connect(tvnuv, &TOutlineView::DropRequested, this, [this](TTreeNode* target, TDropSpot spot) {
    Guard([&] { m_clipboard->tvnuvDragDrop(target, spot); });
  });
  connect(m_model, &TOutlineModel::PagesRemoved, this, [this] { PruneListEntries(); });

  // The tree's popup menu, the list's and the editor's.
  QMenu* pmTree = Menu(TMenuSlot::TreePopup);
  connect(tvnuv, &QWidget::customContextMenuRequested, this, [this, pmTree](const QPoint& at) {
    UpdateActions();
    pmTree->popup(tvnuv->viewport()->mapToGlobal(at));
  });
  auto* pmList = new QMenu(this);
  pmList->setObjectName("pmList");
  pmList->addAction(m_clipboard->acCopy);
  pmList->addAction(m_pages->acDelNode);
  for (QTreeWidget* list : {lvItem, lvnuv}) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, pmList, list](const QPoint& at) {
      UpdateActions();
      pmList->popup(list->viewport()->mapToGlobal(at));
    });
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateActions(); });
  }
  connect(lvItem, &QTreeWidget::currentItemChanged, this, [this] { lvItemSelect(); });
  connect(edxnuv, &TEditorView::PopupRequested, this, [this](const QPoint& at) {
    UpdateActions();
    Menu(TMenuSlot::EditorPopup)->popup(at);
  });

  // Enabled states follow the focus, the selection and the clipboard.
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateActions(); });
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateActions(); });
  connect(edxnuv, &TEditorView::SelectionChanged, this, [this] { UpdateActions(); });
  connect(edTitle, &QLineEdit::selectionChanged, this, [this] { UpdateActions(); });
}

void Tfmnuv::UpdateActions() {
  if (m_closing) return;
  m_pages->Update();
  m_clipboard->Update();
}

TFocusArea Tfmnuv::FocusArea() const {
  const QWidget* focus = QApplication::focusWidget();
  for (const QWidget* w = focus; w; w = w->parentWidget()) {
    if (w == tvnuv) return TFocusArea::Tree;
    if (w == lvItem) return TFocusArea::ChildrenList;
    if (w == lvnuv) return TFocusArea::SearchList;
    if (w == edTitle) return TFocusArea::TitleBox;
    if (w == cbFind) return TFocusArea::FindBox;
  }
  return TFocusArea::Editor;
}

void Tfmnuv::NewPageSetup(TTreeNode* page, bool startTitleEdit) {
  nuv::NewPageSetup(m_tree, page, FormatOptions());
  SelectPage(page);
  ShowPageAttributes(page);
  if (startTitleEdit) tvnuv->EditCurrent();
  m_doc.DocModified = true;
  m_doc.PageDirty = true;
}

bool Tfmnuv::ListPaneVisible() const { return pnlList->isVisible(); }

void Tfmnuv::FillChildrenList(TTreeNode* page) {
  const QSignalBlocker block(lvItem);
  lvItem->clear();
  for (TTreeNode* sibling : SiblingPages(m_tree, page)) {
    QTreeWidgetItem* item = AddPageRow(lvItem, sibling, m_pictures);
    if (sibling == page) {
      item->setSelected(true);
      lvItem->setCurrentItem(item);
    }
  }
}

void Tfmnuv::lvItemSelect() {
  const QTreeWidgetItem* item = lvItem->currentItem();
  if (!item || !lvItem->hasFocus()) return;
  if (TTreeNode* page = m_tree.FindById(item->data(0, Qt::UserRole).toULongLong())) SelectPage(page);
}

void Tfmnuv::PruneListEntries() {
  m_links->PagesRemoved();
  // Entries of pages removed for good are never followed: they go.
  for (QTreeWidget* list : {lvItem, lvnuv}) {
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i)
      if (!m_tree.FindById(list->topLevelItem(i)->data(0, Qt::UserRole).toULongLong())) delete list->takeTopLevelItem(i);
  }
}

// ---- The page switch ----

TTreeNode* Tfmnuv::SelectedPage() { return m_tree.FindById(m_shownId); }

void Tfmnuv::tvnuvChange(const QModelIndex& current) {
  // The editor still holds the previous page: store it before showing the next.
  TTreeNode* previous = SelectedPage();
  TTreeNode* next = m_model->NodeOf(current);
  if (previous) m_pageSwitch->LeavePage(previous);
  if (previous && previous != next) m_links->PageLeft(previous);
  if (next && ListPaneVisible() && (!previous || previous->Level() != next->Level())) FillChildrenList(next);
  m_shownId = next ? next->Id() : 0;
  if (next) {
    m_pageSwitch->ShowPage(next);
  } else {
    edxnuv->SetText(std::string_view());
    edxnuv->SetModified(false);
    m_doc.directLinkPath.clear();
  }
  UpdateEditorScrollBars();
  ShowCaretPosition();
  UpdateActions();
}

void Tfmnuv::SelectPage(TTreeNode* page) {
  const QModelIndex index = m_model->IndexOf(page);
  if (index == tvnuv->currentIndex() && page && page->Id() == m_shownId) return;
  tvnuv->setCurrentIndex(index);
  if (index.isValid()) tvnuv->scrollTo(index);
  // setCurrentIndex does not report an index that is already current after a reset.
  if (page && page->Id() != m_shownId) tvnuvChange(index);
}

void Tfmnuv::OnModelReset() {
  // The model was rebuilt; the view reads the expansion from the pages.
  if (TTreeNode* shown = SelectedPage()) {
    const QSignalBlocker block(tvnuv->selectionModel());
    tvnuv->setCurrentIndex(m_model->IndexOf(shown));
  }
}

void Tfmnuv::ScrollTreeToTop() {
  if (TTreeNode* first = m_tree.GetFirstNode()) tvnuv->scrollTo(m_model->IndexOf(first), QAbstractItemView::PositionAtTop);
}

void Tfmnuv::edxnuvChange() {
  UpdateEditorScrollBars();
  if (!edxnuv->Modified()) return;
  m_status->LeaveMessageMode();
  if (m_pageSwitch->EditorChanged()) SetModifiedIndicator(true);
  m_recovery->Changed();
}

void Tfmnuv::edxnuvCaretMoved() {
  m_status->LeaveMessageMode();
  ShowCaretPosition();
}

void Tfmnuv::ShowCaretPosition() {
  const int base = m_config.ZeroBase ? 0 : 1;
  m_status->SetPanel(2, QStringLiteral("%1 : %2").arg(edxnuv->CaretRow() + base).arg(edxnuv->CaretCol() + base));
}

void Tfmnuv::edTitleChange(const QString& text) {
  if (m_settingTitle) return;
  if (const auto sjis = ToSjis(text)) m_pageSwitch->TitleBoxChanged(SelectedPage(), *sjis);
}

std::string Tfmnuv::TitleBoxText() const { return ToSjisOrEmpty(edTitle->text()); }

void Tfmnuv::SetTitleBoxText(std::string_view sjis) {
  m_settingTitle = true;
  edTitle->setText(ToQString(sjis));
  m_settingTitle = false;
}

void Tfmnuv::SetTitleBoxEnabled(bool enabled) { edTitle->setEnabled(enabled && !m_config.PirkaCompatible); }

void Tfmnuv::SetTreeReadOnly(bool readOnly) {
  m_treeReadOnly = readOnly || m_config.PirkaCompatible;
  tvnuv->SetReadOnly(m_treeReadOnly);
}

void Tfmnuv::SetMarkCommandEnabled(bool enabled) {
  m_markEnabled = enabled;
  m_marks->SetMarkEnabled(enabled);
}

void Tfmnuv::ShowPageAttributes(const TTreeNode* page) { m_marks->ShowPage(page); }

TTreeNode* Tfmnuv::AddPageAbove() {
  TTreeNode* page = nuv::AddPageAbove(m_tree, SelectedPage());
  NewPageSetup(page);
  return page;
}

void Tfmnuv::ShowStatusMessage(const std::string& sjis) {
  if (sjis.empty())
    m_status->LeaveMessageMode();
  else
    m_status->ShowMessage(ToQString(sjis));
}

void Tfmnuv::ShowSearchList() {
  if (!pnlList->isVisible()) acViewList->setChecked(true);
  pnlList->setCurrentWidget(lvnuv);
}

void Tfmnuv::SetModifiedIndicator(bool modified) {
  m_status->SetPanel(0, modified ? ToQString(texts::ModifiedPanel()) : QString());
  if (!m_recovery) return;
  // Cleared flags mean the document is its file again: no copy to keep. A set
  // one starts the copy's timer, also for changes that never reach the editor
  // or the tree, such as a replace in pages that are not shown.
  if (modified) {
    m_recovery->Changed();
  } else {
    m_recovery->Discard();
  }
}

void Tfmnuv::UpdateCaption() {
  const bool hasFile = !m_doc.path.empty() && !DirectoryExists(m_doc.path);
  // A text document that is not Shift JIS names its encoding, so the user
  // knows what Save will write.
  QString encoding;
  if (m_doc.format == TDocumentFormat::Text && m_doc.textForm.encoding != TTextEncoding::ShiftJis)
    encoding = QStringLiteral(" [%1]").arg(QString::fromLatin1(TextEncodingName(m_doc.textForm.encoding)));
  setWindowTitle(hasFile ? PathToQString(m_doc.path) + encoding + QStringLiteral(" - nuv") : QStringLiteral("nuv"));
  // The task bar's text: the document's file name, or 無題 for a new one.
  setWindowIconText(hasFile ? QFileInfo(PathToQString(m_doc.path)).fileName() : ToQString(texts::Untitled()));
}

// ---- View commands ----

void Tfmnuv::miSpilitModeExecute() {
  if (m_mainSplitter->orientation() == Qt::Horizontal) {
    m_mainSplitter->setOrientation(Qt::Vertical);
    tvnuv->setMaximumHeight(std::max(30, height() - 200));
    tvnuv->setMaximumWidth(QWIDGETSIZE_MAX);
  } else {
    m_mainSplitter->setOrientation(Qt::Horizontal);
    tvnuv->setMaximumWidth(std::max(30, width() - 200));
    tvnuv->setMaximumHeight(QWIDGETSIZE_MAX);
  }
}

void Tfmnuv::miPirkaCompatibleExecute(bool checked) {
  m_config.PirkaCompatible = checked;
  m_switchSettings = PageSwitchSettingsOf(m_config);
  edTitle->setEnabled(!checked);
  m_treeReadOnly = checked;
  tvnuv->SetReadOnly(checked);
}

void Tfmnuv::acHelpExecute() {
  const std::string share = ShareFolder();
  const std::string manual = share + "/manual.html";
  if (!share.empty() && FileExists(manual)) QDesktopServices::openUrl(QUrl::fromLocalFile(PathToQString(manual)));
}

// ---- Start-up and shutdown ----

TTreeNode* Tfmnuv::TopVisiblePage() { return m_model->NodeOf(tvnuv->indexAt(QPoint(1, 1))); }

void Tfmnuv::FormShow(const QStringList& arguments) {
  Guard([&] {
    if (arguments.isEmpty()) {
      const std::string last = Cp932ToUtf8(m_config.LastFile);
      if (m_config.OpenLastFile && !last.empty() && FileExists(last)) {
        m_documents->OpenDocument(last, false);
      } else {
        const std::string data = Cp932ToUtf8(m_config.Path.Data);
        if (!data.empty()) {
          m_documents->FillFolderMenu(data);
          m_doc.path = data;
        }
        AddPageAbove();
      }
    } else {
      m_documents->OpenDocument(QStringToPath(QFileInfo(arguments.front()).absoluteFilePath()), false);
      for (qsizetype i = 1; i < arguments.size(); ++i)
        m_launcher->OpenWithDesktop(QFileInfo(arguments[i]).absoluteFilePath());
    }
    if (!m_quitRequested && !m_tree.GetFirstNode()) AddPageAbove();
    ShowCaretPosition();
  });
  m_doc.ClearFlags();
  SetModifiedIndicator(false);
  UpdateCaption();
  if (!m_quitRequested) Guard([&] { m_recovery->OfferAtStart(!arguments.isEmpty()); });
}

void Tfmnuv::closeEvent(QCloseEvent* event) {
  if (m_quitRequested) {
    event->accept();
    return;
  }
  // A running macro or tool wait unwinds first; the close comes back after.
  if (!m_macros->MayClose() || !m_tools->MayClose()) {
    event->ignore();
    return;
  }
  bool mayClose = true;
  Guard([&] { mayClose = m_documents->CloseQuery(); });
  if (!mayClose) {
    event->ignore();
    return;
  }
  m_closing = true;
  m_recovery->Discard();  // saved, or the changes given up on purpose
  lvItem->clear();
  lvnuv->clear();
  WriteSession();
  event->accept();
}

void Tfmnuv::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void Tfmnuv::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files.append(url.toLocalFile());
  event->acceptProposedAction();
  Guard([&] { m_documents->FilesDropped(files); });
}

}  // namespace nuv
