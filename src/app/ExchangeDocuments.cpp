// OPML, Markdown and HTML from the window.
#include "app/ExchangeDocuments.h"

#include "app/WaitCursor.h"
#include "app/WindowServices.h"
#include "base/Prompts.h"
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangeTexts.h"
#include "outline/DocumentState.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"

namespace nuv {

bool ReadExchangeFile(IWindowServices& window, const std::string& path, TExchangeFormat format, TOutlineTree& out) {
  TExchangeReadOptions options;
  options.format = window.FormatOptions();
  TExchangeReadResult r;
  {
    const TWaitCursor wait;
    r = ReadExchangeDocument(path, format, options, out);
  }
  if (r.status == TExchangeStatus::Unencodable) {
    // Replacing is the user's word, never the reader's.
    if (!window.Prompts().Question(FormatMessageText(texts::AskSubstitute().c_str(), r.line), true)) return false;
    out.Clear();
    options.substitute = true;
    const TWaitCursor wait;
    r = ReadExchangeDocument(path, format, options, out);
  }
  switch (r.status) {
    case TExchangeStatus::Ok: return true;
    case TExchangeStatus::Malformed: window.Prompts().Error(FormatMessageText(texts::NotOpml().c_str(), r.line)); break;
    case TExchangeStatus::CannotRead:
    case TExchangeStatus::Unencodable: window.Prompts().Error(texts::ReadError()); break;
  }
  return false;
}

bool WriteExchangeFile(IWindowServices& window, const std::string& path, TExchangeFormat format, bool markdownBodies) {
  TExchangeWriteResult r;
  {
    const TWaitCursor wait;
    r = WriteExchangeDocument(path, format, window.Tree(), markdownBodies);
  }
  if (!r.ok) {
    window.Prompts().Error(texts::WriteError());
    return false;
  }
  window.ShowStatusMessage(texts::FileSaved());
  if (r.controlPage)
    window.Prompts().Info(FormatMessageText(texts::ControlBytesLeftOut().c_str(), r.controlPage->Text().c_str()));
  return true;
}

bool ImportExchangeFile(IWindowServices& window, const std::string& path, TExchangeFormat format) {
  TOutlineTree scratch;
  if (!ReadExchangeFile(window, path, format, scratch)) return false;
  TTreeNode* first = ImportPages(window.Tree(), window.SelectedPage(), scratch);
  window.Document().DocModified = true;
  window.Document().PageDirty = true;
  if (first) {
    window.Tree().Expand(first);
    window.SelectPage(first);
  }
  return true;
}

}  // namespace nuv
