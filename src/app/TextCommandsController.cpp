// The text commands of the page editor.
#include "app/TextCommandsController.h"

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>

#include "app/Actions.h"
#include "app/PagePrinter.h"
#include "app/QtText.h"
#include "app/WindowServices.h"
#include "base/FixedText.h"
#include "base/Prompts.h"
#include "base/ProgramFolder.h"
#include "base/Sjis.h"
#include "base/Title.h"
#include "config/FontFallback.h"
#include "config/NuvConfig.h"
#include "outline/DateTimeFormat.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "outline/TextCounts.h"

namespace nuv {

namespace {

struct TBracketPair {
  const char* name;
  const char* caption;
  Qt::Key key;
  const char* open;
  const char* close;
};

constexpr TBracketPair kBrackets[] = {
    {"miBrackets1", "/* */で囲む(&1)", Qt::Key_F1, "/*", "*/"},
    {"miBrackets2", "{* *}で囲む(&2)", Qt::Key_F2, "{*", "*}"},
    {"miBrackets3", "{! !}で囲む(&3)", Qt::Key_F3, "{!", "!}"},
    {"miBrackets4", "「 」で囲む(&4)", Qt::Key_F4, "「", "」"},
};

NUV_FIXED_TEXT(CannotPrint, "印刷を開始できませんでした。")

// The page's printer: the dialog of the platform.
bool AskPrinter(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

TTextCommands::TTextCommands(IWindowServices& window, QWidget* editorWidget, QToolBar* editorBar, QObject* parent)
    : QObject(parent), m_window(window), m_editorWidget(editorWidget) {
  QWidget* owner = window.Window();
  cbMark = new QComboBox(editorBar);
  cbMark->setObjectName("cbMark");
  cbMark->setToolTip(QStringLiteral("マーク"));
  cbMark->setMaxVisibleItems(15);
  cbMark->setFocusPolicy(Qt::ClickFocus);
  acInsMark = MakeAction(this, "acInsMark", QStringLiteral("マークの挿入(&M)"),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
  editorBar->addWidget(cbMark);
  editorBar->addAction(acInsMark);

  acSelToTitle = MakeAction(this, "acSelToTitle", QStringLiteral("選択文字列をタイトルにする"));
  QAction* brackets[4] = {};
  for (int i = 0; i < 4; ++i) {
    const TBracketPair& b = kBrackets[i];
    brackets[i] = MakeAction(this, b.name, QString::fromUtf8(b.caption), QKeySequence(Qt::CTRL | b.key));
    const std::string open = SjisFromLiteral(b.open), close = SjisFromLiteral(b.close);
    connect(brackets[i], &QAction::triggered, this, [this, open, close] { Bracket(open, close); });
  }
  miBrackets1 = brackets[0];
  miBrackets2 = brackets[1];
  miBrackets3 = brackets[2];
  miBrackets4 = brackets[3];
  acDelLine = MakeAction(this, "acDelLine", QStringLiteral("１行削除"), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
  acDelCaretAfterLine = MakeAction(this, "acDelCaretAfterLine", QStringLiteral("キャレット以降を削除"),
                                   QKeySequence(Qt::CTRL | Qt::Key_Delete));
  miInsDate = MakeAction(this, "miInsDate", QStringLiteral("現在日付(&D)"));
  miInsTime = MakeAction(this, "miInsTime", QStringLiteral("現在時刻(&T)"));
  miInsNow = MakeAction(this, "miInsNow", QStringLiteral("現在日時(&N)"));
  acTop = MakeAction(this, "acTop", QStringLiteral("先頭へ(&T)"), QKeySequence(Qt::CTRL | Qt::Key_Home));
  acBottom = MakeAction(this, "acBottom", QStringLiteral("末尾へ(&B)"), QKeySequence(Qt::CTRL | Qt::Key_End));
  acOverWrite = MakeAction(this, "acOverWrite", QStringLiteral("挿入/上書"), QKeySequence(Qt::Key_Insert));
  miToolPageCnt = MakeAction(this, "miToolPageCnt", QStringLiteral("ページ数(&P)"));
  miToolCharCnt = MakeAction(this, "miToolCharCnt", QStringLiteral("文字数(&C)"));
  acPrintCurNode = MakeAction(this, "acPrintCurNode", QStringLiteral("カレントノードの印刷(&P)..."));

  const std::pair<QAction*, void (TTextCommands::*)()> handlers[] = {
      {acInsMark, &TTextCommands::acInsMarkExecute},
      {acSelToTitle, &TTextCommands::acSelToTitleExecute},
      {acDelLine, &TTextCommands::acDelLineExecute},
      {acDelCaretAfterLine, &TTextCommands::acDelCaretAfterLineExecute},
      {acTop, &TTextCommands::acTopExecute},
      {acBottom, &TTextCommands::acBottomExecute},
      {acOverWrite, &TTextCommands::acOverWriteExecute},
      {miToolPageCnt, &TTextCommands::miToolPageCntExecute},
      {miToolCharCnt, &TTextCommands::miToolCharCntExecute},
      {acPrintCurNode, &TTextCommands::acPrintCurNodeExecute},
  };
  for (const auto& [action, handler] : handlers) {
    connect(action, &QAction::triggered, this, [this, action = action, handler = handler] {
      // A command run while disabled does nothing, so a stale shortcut is harmless.
      Update();
      if (action->isEnabled()) (this->*handler)();
    });
  }
  connect(miInsDate, &QAction::triggered, this, [this] { InsertNow(m_window.Config().Date); });
  connect(miInsTime, &QAction::triggered, this, [this] { InsertNow(m_window.Config().Time); });
  connect(miInsNow, &QAction::triggered, this, [this] { InsertNow(m_window.Config().DateAndTime); });
  m_printerSetup = [owner](QPrinter& printer) { return AskPrinter(printer, owner); };

  // Commands in no menu still need the window to hold their keys.
  for (QAction* a : {acInsMark, acDelLine, acDelCaretAfterLine, acOverWrite, miBrackets1, miBrackets2, miBrackets3,
                     miBrackets4})
    owner->addAction(a);

  QMenu* popup = window.Menu(TMenuSlot::EditorPopup);
  popup->addAction(acSelToTitle);
  QMenu* format = popup->addMenu(QStringLiteral("整形(&F)"));
  format->setObjectName("miFormat");
  for (QAction* a : brackets) format->addAction(a);
  connect(popup, &QMenu::aboutToShow, this, [this] { Update(); });

  QMenu* dates = new QMenu(QStringLiteral("日時(&D)"), window.Menu(TMenuSlot::FileInsert));
  dates->setObjectName("miInsDateTime");
  for (QAction* a : {miInsDate, miInsTime, miInsNow}) dates->addAction(a);
  window.Menu(TMenuSlot::FileInsert)->addMenu(dates);

  QMenu* find = window.Menu(TMenuSlot::Find);
  find->addSeparator();
  find->addAction(acTop);
  find->addAction(acBottom);

  QMenu* tools = window.Menu(TMenuSlot::Tools);
  tools->addAction(miToolPageCnt);
  tools->addAction(miToolCharCnt);

  // Printing goes before the file menu's last group (the histories and the exit).
  QMenu* file = window.Menu(TMenuSlot::File);
  QAction* before = nullptr;
  for (QAction* a : file->actions())
    if (a->isSeparator()) before = a;
  file->insertAction(before, acPrintCurNode);
  file->insertSeparator(acPrintCurNode);

  LoadMarks(ProgramFile("mark.dat"));
  Update();
}

void TTextCommands::LoadMarks(const std::string& path) {
  cbMark->clear();
  TLightStrings lines;
  if (!lines.LoadFromFile(path)) return;
  for (const std::string& line : lines.Lines()) cbMark->addItem(ToQString(line));
  if (cbMark->count() > 0) cbMark->setCurrentIndex(0);
}

void TTextCommands::Update() { acSelToTitle->setEnabled(m_window.Editor().Selected()); }

void TTextCommands::acInsMarkExecute() {
  const QString mark = cbMark->currentText();
  if (mark.isEmpty()) return;
  if (m_window.FocusArea() == TFocusArea::TitleBox) {
    m_window.TitleBox()->insert(mark);
    return;
  }
  if (const auto sjis = ToSjis(mark)) m_window.Editor().InsertAtCaret(*sjis);
}

void TTextCommands::acSelToTitleExecute() {
  // The title rule: blanks and control bytes trimmed, the first line, at most
  // 250 bytes cut at a character boundary, so the title box can show it whole.
  const std::string selected = m_window.Editor().SelText();
  m_window.TitleBox()->setText(ToQString(DeriveTitle(CleanTitle(TrimControl(selected)))));
}

void TTextCommands::Bracket(const std::string& open, const std::string& close) {
  IPageEditor& editor = m_window.Editor();
  if (editor.ReadOnly()) return;
  editor.InsertAtCaret(open + editor.SelText() + close);
}

void TTextCommands::acDelLineExecute() { m_window.Editor().DeleteCaretLine(m_window.Config().DelViewLine); }

void TTextCommands::acDelCaretAfterLineExecute() { m_window.Editor().DeleteToLineEnd(); }

void TTextCommands::InsertNow(const std::string& pattern) {
  IPageEditor& editor = m_window.Editor();
  if (editor.ReadOnly()) return;
  editor.InsertAtCaret(FormatDateTime(pattern, NowParts()));
}

void TTextCommands::acTopExecute() {
  m_editorWidget->setFocus();
  m_window.Editor().SetSelStart(0);
}

void TTextCommands::acBottomExecute() {
  // The true end: after the last character, also on an empty page.
  m_editorWidget->setFocus();
  IPageEditor& editor = m_window.Editor();
  editor.SetSelStart(static_cast<int>(editor.Text().size()));
}

void TTextCommands::acOverWriteExecute() {
  // The editor reports the switch; the window shows it in status panel 1.
  IPageEditor& editor = m_window.Editor();
  editor.SetOverwrite(!editor.Overwrite());
}

void TTextCommands::miToolPageCntExecute() { m_window.Prompts().Info(PageCountMessage(m_window.Tree().Count())); }

void TTextCommands::miToolCharCntExecute() { m_window.Prompts().Info(CharCountMessage(CountText(m_window.Editor().Text()))); }

void TTextCommands::acPrintCurNodeExecute() {
  QPrinter printer(QPrinter::HighResolution);
  if (!m_printerSetup(printer)) return;
  const TnuvConfig& config = m_window.Config();
  TPagePrintJob job;
  job.title = ToSjisOrEmpty(m_window.TitleBox()->text());
  job.text = m_window.Editor().Text();
  job.fontFamily = QString::fromStdString(FontFamilyFor(
      config.FontFace, [](const std::string& utf8) { return QFontDatabase::hasFamily(QString::fromStdString(utf8)); }));
  job.fontPointSize = config.FontSize;
  job.tabWidth = config.TabSpace;
  if (PrintPageText(printer, job) == 0) m_window.Prompts().Error(CannotPrint());
}

}  // namespace nuv
