// The small commands on the shown page's text: the selection as the title,
// brackets, deleting a line or its rest, the date and time, mark strings, the
// start and the end, insert and overwrite, the counts and printing the page.
#pragma once

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QComboBox;
class QPrinter;
class QToolBar;
class QWidget;

namespace nuv {

class IWindowServices;

class TTextCommands : public QObject {
  Q_OBJECT
 public:
  // `editorWidget` takes the focus for the start and the end; the mark box
  // and its button go on `editorBar`.
  TTextCommands(IWindowServices& window, QWidget* editorWidget, QToolBar* editorBar, QObject* parent = nullptr);

  QComboBox* cbMark;
  QAction* acInsMark;
  QAction* acSelToTitle;
  QAction* miBrackets1;
  QAction* miBrackets2;
  QAction* miBrackets3;
  QAction* miBrackets4;
  QAction* acDelLine;
  QAction* acDelCaretAfterLine;
  QAction* miInsDate;
  QAction* miInsTime;
  QAction* miInsNow;
  QAction* acTop;
  QAction* acBottom;
  QAction* acOverWrite;
  QAction* miToolPageCnt;
  QAction* miToolCharCnt;
  QAction* acPrintCurNode;

  void acInsMarkExecute();
  void acSelToTitleExecute();
  // Wraps the selection (or nothing, at the caret) in a pair of strings.
  void Bracket(const std::string& open, const std::string& close);
  void acDelLineExecute();
  void acDelCaretAfterLineExecute();
  // Inserts the time now formatted with a pattern of the settings.
  void InsertNow(const std::string& pattern);
  void acTopExecute();
  void acBottomExecute();
  void acOverWriteExecute();
  void miToolPageCntExecute();
  void miToolCharCntExecute();
  void acPrintCurNodeExecute();
  void Update();

  // Fills the mark box from the lines of a file (Shift JIS); a missing file leaves it empty.
  void LoadMarks(const std::string& path);

  // The print dialog; it sets the printer up and answers false when cancelled.
  // Tests put a set-up of their own here (a PDF file, no dialog).
  using TPrinterSetup = std::function<bool(QPrinter&)>;
  void SetPrinterSetup(TPrinterSetup setup) { m_printerSetup = std::move(setup); }

 private:
  IWindowServices& m_window;
  QWidget* m_editorWidget;
  TPrinterSetup m_printerSetup;
};

}  // namespace nuv
