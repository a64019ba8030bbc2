// Imports and exports. Palm DOC conversions go through a text file in the
// temporary folder "__temp__", which the command deletes in every case.
#include "app/ExchangeController.h"

#include <QAction>
#include <filesystem>
#include <optional>

#include "app/Actions.h"
#include "app/ExchangeDocuments.h"
#include "app/FileDialogs.h"
#include "app/QtText.h"
#include "app/SessionState.h"
#include "app/WaitCursor.h"
#include "app/WindowServices.h"
#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/ProgramFolder.h"
#include "base/Prompts.h"
#include "base/SubstituteQuestion.h"
#include "config/NuvConfig.h"
#include "exchange/ExchangeTexts.h"
#include "exchange/ExportNames.h"
#include "exchange/MeDoc.h"
#include "exchange/PalmDocFile.h"
#include "outline/DocumentState.h"
#include "outline/EncodedText.h"
#include "outline/LightStrings.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"
#include "outline/TextFormat.h"
#include "outline/TextSaveCheck.h"

namespace nuv {

namespace {

// A file of the temporary folder that is removed when the command ends.
class TTempFile {
 public:
  explicit TTempFile(const std::string& name) : m_path(TempFolder() + "/" + name) {}
  ~TTempFile() {
    std::error_code ec;
    std::filesystem::remove(m_path, ec);
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

QStringList Filters(IWindowServices& window, bool forSave) {
  if (forSave)
    return {QStringLiteral("Pirka互換ファイル(*.pk2) (*.pk2)"), QStringLiteral("階層テキスト(*.txt) (*.txt)"),
            QStringLiteral("Palm Doc/MeDocファイル(*.prc;*.pdb) (*.prc *.pdb)")};
  (void)window;
  return {QStringLiteral("nuvファイル (*.nuv *.pk2)"), QStringLiteral("階層テキスト(*.*) (*)"),
          QStringLiteral("Palm Docファイル(*.prc;*.pdb) (*.prc *.pdb)"), QStringLiteral("すべてのファイル(*.*) (*)")};
}

std::string SjisName(const std::string& path) {
  const std::u16string wide = Utf8ToUtf16(path);
  std::u16string safe;
  for (char16_t c : wide) safe += CanEncodeCp932(std::u16string_view(&c, 1)) ? c : u'?';
  return EncodeCp932(safe).value_or(std::string());
}

}  // namespace

TExchangeCommands::TExchangeCommands(IWindowServices& window, QObject* parent) : QObject(parent), m_window(window) {
  acInsertText = MakeAction(this, "acInsertText", QStringLiteral("テキストファイル(&T)"));
  acInsertWZText = MakeAction(this, "acInsertWZText", QStringLiteral("階層テキストファイル(&W)"));
  acInsertDocPrc = MakeAction(this, "acInsertDocPrc", QStringLiteral("Palm DOCファイル(&P)"));
  acSaveToDoc = MakeAction(this, "acSaveToDoc", QStringLiteral("ページをPalm DOC形式で保存(&D)"));
  acSaveToNodeMeDoc = MakeAction(this, "acSaveToNodeMeDoc", QStringLiteral("ノード以下をMeDoc形式で保存(&N)"));
  acSaveToMeDoc = MakeAction(this, "acSaveToMeDoc", QStringLiteral("１つ下の階層をMeDoc形式で保存(&M)"));
  acSaveToNodeWZText = MakeAction(this, "acSaveToNodeWZText", QStringLiteral("ノード以下を階層テキストで保存(&W)"));

  connect(acInsertText, &QAction::triggered, this, [this] {
    if (const auto path = AskOpen(3)) InsertText(*path);
  });
  connect(acInsertWZText, &QAction::triggered, this, [this] {
    if (const auto path = AskOpen(1)) InsertWZText(*path);
  });
  connect(acInsertDocPrc, &QAction::triggered, this, [this] {
    if (const auto path = AskOpen(2)) InsertDocPrc(*path);
  });
  connect(acSaveToDoc, &QAction::triggered, this, [this] {
    const TTreeNode* page = m_window.SelectedPage();
    if (!page) return;
    if (const auto path = AskSave(FileNameFromTitle(page->Text(), ".prc"), 2, false)) SaveToDoc(*path);
  });
  connect(acSaveToNodeMeDoc, &QAction::triggered, this, [this] {
    const TTreeNode* page = m_window.SelectedPage();
    if (!page) return;
    if (const auto path = AskSave(FileNameFromTitle(page->Text(), ".prc"), 2, false)) SaveToNodeMeDoc(*path);
  });
  connect(acSaveToMeDoc, &QAction::triggered, this, [this] {
    const TTreeNode* page = m_window.SelectedPage();
    if (!page) return;
    if (!page->HasChildren()) {
      m_window.Prompts().Info(texts::NoChildrenToExport());
      return;
    }
    if (const auto path = AskSave(FileNameFromTitle(page->Text(), ".prc"), 2, false)) SaveToMeDoc(*path);
  });
  connect(acSaveToNodeWZText, &QAction::triggered, this, [this] {
    const TTreeNode* page = m_window.SelectedPage();
    if (!page) return;
    bool noTitles = false;
    TTextEncoding encoding = TTextEncoding::ShiftJis;
    if (const auto path = AskSave(FileNameFromTitle(page->Text(), ".txt"), 1, true, &noTitles, &encoding))
      SaveToNodeWZText(*path, noTitles, encoding);
  });
}

std::optional<std::string> TExchangeCommands::AskOpen(int filter) {
  const auto choice = m_window.Dialogs().OpenFile(m_window.Window(), PathToQString(Cp932ToUtf8(m_window.Config().Path.Data)),
                                                  Filters(m_window, false), filter);
  if (!choice) return std::nullopt;
  return QStringToPath(choice->path);
}

std::optional<std::string> TExchangeCommands::AskSave(const std::string& proposedName, int filter, bool noTitlesOption,
                                                      bool* noTitles, TTextEncoding* encoding) {
  std::string folder = m_window.Document().path;
  if (!folder.empty() && !DirectoryExists(folder)) folder = std::filesystem::path(folder).parent_path().string();
  const std::string proposed = folder.empty() ? proposedName : (std::filesystem::path(folder) / proposedName).string();
  const auto choice =
      m_window.Dialogs().SaveFile(m_window.Window(), PathToQString(proposed), Filters(m_window, true), noTitlesOption,
                                  filter, OfferedEncoding(m_window.Document().textForm));
  if (!choice) return std::nullopt;
  if (noTitles) *noTitles = choice->noTitles;
  if (encoding) *encoding = choice->encoding;
  return QStringToPath(choice->path);
}

void TExchangeCommands::InsertText(const std::string& path) {
  TDecodedText text;
  const TTextFileResult r = ReadTextFileAsking(m_window.Prompts(), path, text);
  if (r == TTextFileResult::Unmappable) return;  // the user cancelled
  if (r != TTextFileResult::Ok) {
    ShowFileError(m_window.Prompts(), texts::ReadError());
    return;
  }
  TLightStrings lines;
  lines.LoadFromBytes(text.sjis);
  m_window.Editor().InsertAtCaret(lines.GetTextStr());
}

void TExchangeCommands::InsertWZText(const std::string& path) {
  if (const TExchangeFormat f = ExchangeFormatOf(path); f == TExchangeFormat::Opml || f == TExchangeFormat::Markdown) {
    if (ImportExchangeFile(m_window, path, f)) {
      AddToHistory(m_window.Session().TextHistory, path, TSessionState::kFileHistoryMax);
      emit TextHistoryChanged();
    }
    return;
  }
  TTreeNode* first = nullptr;
  TWaitCursor wait;
  const TTextFileResult r = ReadAskingToSubstitute(m_window.Prompts(), [&](TSubstitution s, TUnmappable& report) {
    TTextRead read;
    first = ImportEncodedText(path, m_window.FormatOptions(), s, m_window.Tree(), m_window.SelectedPage(), read);
    report = read.unmappable;
    if (read.result == TTextFileResult::Unmappable) wait.Release();  // the question follows
    return read.result;
  });
  if (r == TTextFileResult::Unmappable) return;  // the user cancelled; the document is unchanged
  if (r != TTextFileResult::Ok) {
    wait.Release();
    ShowFileError(m_window.Prompts(), texts::ReadError());
    return;
  }
  AddToHistory(m_window.Session().TextHistory, path, TSessionState::kFileHistoryMax);
  emit TextHistoryChanged();
  m_window.Document().DocModified = true;
  m_window.Document().PageDirty = true;
  if (first) {
    m_window.Tree().Expand(first);
    m_window.SelectPage(first);
  }
}

void TExchangeCommands::InsertDocPrc(const std::string& path) {
  const TTempFile temp(Cp932ToUtf8(texts::PalmDocTempName()));
  if (ConvertPalmDoc(path, temp.Path(), std::string_view(), true, false, true) != TPalmDocResult::Ok) {
    ShowFileError(m_window.Prompts(), texts::DocReadFailed());
    return;
  }
  TLightStrings lines;
  if (lines.LoadFromFile(temp.Path())) m_window.Editor().InsertAtCaret(lines.GetTextStr());
}

void TExchangeCommands::SaveToDoc(const std::string& chosen) {
  const TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  const std::string out = nuv::WithExtension(chosen, ".prc", false);
  const TTempFile temp(FileNameFromTitle(page->Text(), ".txt"));
  const bool ok = WriteFileAtomic(temp.Path(), m_window.Editor().Text()) &&
                  ConvertPalmDoc(out, temp.Path(), page->Text(), false, false, true) == TPalmDocResult::Ok;
  if (!ok) {
    ShowFileError(m_window.Prompts(), texts::DocWriteFailed());
    return;
  }
  m_window.Prompts().Info(FormatMessageText(texts::DocWritten().c_str(), SjisName(out).c_str()));
}

bool TExchangeCommands::WriteMeDocVia(const std::string& out, const std::string& text, const std::string& databaseName) {
  const TTempFile temp(std::filesystem::path(out).stem().string() + ".txt");
  TWaitCursor wait;
  const bool ok = WriteFileAtomic(temp.Path(), text) &&
                  ConvertPalmDoc(out, temp.Path(), databaseName, false, false, true) == TPalmDocResult::Ok;
  wait.Release();
  if (!ok) ShowFileError(m_window.Prompts(), texts::MeDocWriteFailed());
  return ok;
}

void TExchangeCommands::SaveToNodeMeDoc(const std::string& chosen) {
  const std::string out = nuv::WithExtension(chosen, ".prc", true);
  const std::string text =
      BuildMeDocText(CollectMeDocEntries(m_window.Tree(), m_window.SelectedPage(), TMeDocScope::FromPage));
  if (WriteMeDocVia(out, text, DatabaseNameFromPath(out))) m_window.ShowStatusMessage(texts::FileSaved());
}

void TExchangeCommands::SaveToMeDoc(const std::string& chosen) {
  const TTreeNode* page = m_window.SelectedPage();
  if (!page) return;
  const std::string out = nuv::WithExtension(chosen, ".prc", true);
  const std::string text = BuildMeDocText(CollectMeDocEntries(m_window.Tree(), page, TMeDocScope::Children));
  if (WriteMeDocVia(out, text, page->Text()))
    m_window.Prompts().Info(FormatMessageText(texts::MeDocWritten().c_str(), SjisName(out).c_str()));
}

void TExchangeCommands::SaveToNodeWZText(const std::string& chosen, bool noTitles, TTextEncoding encoding) {
  const std::string out = nuv::WithExtension(chosen, ".txt", true);
  if (!ConfirmTextSave(m_window.Prompts(), m_window.Tree(), noTitles, m_window.SelectedPage(), m_window.FormatOptions()))
    return;
  TWaitCursor wait;
  const TTextWriteResult r = WriteEncodedText(out, m_window.Tree(), noTitles, m_window.SelectedPage(),
                                              m_window.FormatOptions(), SaveAsForm(m_window.Document().textForm, encoding));
  wait.Release();
  if (r == TTextWriteResult::Failed) ShowFileError(m_window.Prompts(), texts::WriteError());
  if (r == TTextWriteResult::TooLarge) m_window.Prompts().Error(texts::TooLargeForText());
  if (r == TTextWriteResult::Written) m_window.ShowStatusMessage(texts::FileSaved());
}

}  // namespace nuv
