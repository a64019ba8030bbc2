// Crash recovery in the window.
#include "app/RecoveryController.h"

#include <QAbstractItemModel>
#include <algorithm>

#include "app/DocumentRegistry.h"
#include "app/LifecycleTexts.h"
#include "app/WindowServices.h"
#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/IniFile.h"
#include "base/ProgramFolder.h"
#include "base/Prompts.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PageEditor.h"

namespace nuv {

namespace {
constexpr int kDefaultInterval = 60;
// A day: a longer interval is no protection and would overflow the timer.
constexpr int kMaxInterval = 86400;

// The name the question shows: the document's path, or 無題 for a new one.
std::string ShownName(const TRecoveryInfo& info) {
  const bool hasFile = !info.documentPath.empty() && !DirectoryExists(info.documentPath);
  if (!hasFile) return texts::Untitled();
  return Utf8ToCp932(info.documentPath).value_or(texts::Untitled());
}
}  // namespace

TRecoveryController::TRecoveryController(IWindowServices& window, QAbstractItemModel& model,
                                         TDocumentRegistry& registry, QObject* parent)
    : QObject(parent), m_window(window), m_registry(registry) {
  const TIniFile ini(ProgramFile("nuv.ini"));
  m_interval = std::clamp(ini.ReadInteger("Recovery", "Interval", kDefaultInterval), 0, kMaxInterval);
  m_timer.setSingleShot(true);
  m_timer.setInterval(m_interval * 1000);
  connect(&m_timer, &QTimer::timeout, this, [this] { WriteNow(); });
  for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
    connect(&model, signal, this, [this] { Changed(); });
  connect(&model, &QAbstractItemModel::rowsMoved, this, [this] { Changed(); });
  connect(&model, &QAbstractItemModel::dataChanged, this, [this] { Changed(); });
  connect(&model, &QAbstractItemModel::layoutChanged, this, [this] { Changed(); });
}

void TRecoveryController::Changed() {
  if (m_interval > 0 && !m_timer.isActive()) m_timer.start();
}

void TRecoveryController::Discard() {
  m_timer.stop();
  m_copy.Remove();
}

bool TRecoveryController::WriteNow() {
  const TDocumentState& doc = m_window.Document();
  if (m_interval == 0 || !doc.Modified()) return false;
  TRecoverySnapshot snapshot;
  snapshot.tree = &m_window.Tree();
  snapshot.selected = m_window.SelectedPage();
  snapshot.documentPath = doc.path;
  snapshot.format = doc.format;
  // The shown page's edits not yet stored in its record; a page that shows
  // its linked file keeps its own body.
  const bool showsLinkedFile = !doc.directLinkPath.empty() && doc.directLinkView;
  std::string shownText;
  if (m_window.Editor().Modified() && !showsLinkedFile && snapshot.selected) {
    shownText = m_window.Editor().Text();
    snapshot.shownPage = snapshot.selected;
    snapshot.shownText = shownText;
  }
  // A failed write (a full disk) keeps the previous copy; the next change
  // tries again. The status bar says so, since the user may rely on it.
  if (m_copy.Write(snapshot)) return true;
  std::string message = texts::RecoveryWriteFailed();
  if (const auto reason = Utf8ToCp932(FileErrorText(LastFileError()))) message += *reason;
  m_window.ShowStatusMessage(message);
  return false;
}

void TRecoveryController::OfferAtStart(bool startedWithFile) {
  const std::string document = startedWithFile ? m_window.Document().path : std::string();
  if (startedWithFile && document.empty()) return;
  for (const TRecoveryInfo& info : FindOrphanedCopies(m_copy.Folder(), document)) {
    const std::string question = FormatMessageText(texts::AskRecover().c_str(), ShownName(info).c_str());
    if (!m_window.Prompts().Question(question)) {
      DiscardRecoveryCopy(info.file);
      continue;
    }
    if (Recover(info)) return;
  }
}

bool TRecoveryController::Recover(const TRecoveryInfo& info) {
  TRecoveryInfo read;
  TOutlineTree scratch;
  int selected = 0;
  if (!ReadRecoveryCopy(info.file, m_window.FormatOptions(), read, scratch, selected) || !m_copy.Adopt(info.file))
    return false;
  TOutlineTree& tree = m_window.Tree();
  tree.ReplaceWith(std::move(scratch));
  TDocumentState& doc = m_window.Document();
  doc.path = read.documentPath;
  doc.format = read.format;
  const bool hasFile = !doc.path.empty() && !DirectoryExists(doc.path);
  m_registry.Hold(hasFile ? doc.path : std::string());
  m_window.SelectPage(tree.GetNodeAt(selected));
  m_window.UpdateCaption();
  // Under the document's own name but modified: the user decides whether to
  // save it, and the copy stays until then.
  doc.ClearFlags();
  doc.DocModified = true;
  m_window.SetModifiedIndicator(true);
  return true;
}

}  // namespace nuv
