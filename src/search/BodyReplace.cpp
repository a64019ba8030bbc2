// Replace all in a body's bytes.
//
// The editor holds a body as rows: its lines joined by CR LF, a CR LF at the
// end only when the body ends with a line break, and its Text() puts one
// after every line. Its replace all searches each logical line on its own
// (or the whole text for a pattern with "\r\n"), and after a change the body
// is that text in body form. The same steps run here over string views.
#include "search/BodyReplace.h"

#include "base/Sjis.h"
#include "editor/LineWrapper.h"
#include "editor/PageText.h"
#include "search/EditorMatcher.h"

namespace nuv {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Every line of `text` followed by CR LF into `body`, as the editor's Text() gives it.
void BodyForm(std::string_view text, std::string& body) {
  body.clear();
  ForEachLine(text, [&body](std::string_view line) {
    body += line;
    body += kCrLf;
  });
}

}  // namespace

TBodyReplacer::TBodyReplacer(TEditorEx& search, std::string_view replacement)
    : m_search(search),
      m_with(ExpandCrLfText(replacement)),
      m_foldsCase(!HasSearchOption(search.ExSearchOptions(), soMatchCase) &&
                  !HasSearchOption(search.ExSearchOptions(), soRegexp)),
      m_wholeText(HasSearchOption(search.ExSearchOptions(), soRegexp) &&
                  LowerSjis(search.FindString()).find("\\r\\n") != std::string::npos) {}

void TBodyReplacer::LoadText(std::string_view body) {
  m_text.clear();
  const bool endsWithBreak = ForEachLine(body, [this](std::string_view line) {
    m_text += line;
    m_text += kCrLf;
  });
  if (!endsWithBreak && !m_text.empty()) m_text.resize(m_text.size() - kCrLf.size());
  // Lowered as a whole: CR and LF are never trail bytes, so every line
  // starts at a character start and lowers here as it would alone.
  if (m_foldsCase) FoldInto(m_text, m_folded);
}

int TBodyReplacer::ReplaceHits(std::string_view text, std::string_view folded) {
  // An empty hit puts the replacement before the character it stands at.
  int count = 0;
  std::size_t from = 0, last = 0, p = 0, l = 0;
  TEditorEx::TZeroCursor zero;
  while (from <= folded.size() && m_search.SearchFrom(folded, from, true, p, l, &zero)) {
    m_out.append(text.substr(last, p - last));
    m_out.append(m_with);
    ++count;
    if (l > 0) {
      from = last = p + l;
    } else if (p < text.size()) {
      const std::size_t length = CharLength(text, p);
      m_out.append(text.substr(p, length));
      from = last = p + length;
    } else {
      from = last = text.size() + 1;
    }
  }
  if (last < text.size()) m_out.append(text.substr(last));
  return count;
}

void TBodyReplacer::FinishWithBreaks() {
  // Line breaks that came in or went may still leave the same lines.
  BodyForm(m_out, m_scratch);
  m_out.swap(m_scratch);
  BodyForm(m_text, m_scratch);
  m_changed = m_out != m_scratch;
}

int TBodyReplacer::Replace(std::string_view body, bool needHit) {
  m_changed = false;
  m_out.clear();
  if (m_search.FindString().empty() || body.empty()) return 0;
  LoadText(body);
  const std::string_view text = m_text;
  const std::string_view folded = m_foldsCase ? std::string_view(m_folded) : text;
  std::size_t p = 0, l = 0;
  if (needHit && !m_search.SearchFrom(folded, 0, false, p, l)) return 0;

  if (m_wholeText) {
    const int count = ReplaceHits(text, folded);
    if (count > 0 && m_out != text) FinishWithBreaks();
    return count;
  }
  int count = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(kCrLf, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const std::size_t mark = m_out.size();
    const int n = ReplaceHits(line, folded.substr(start, end - start));
    count += n;
    if (n > 0 && !m_changed) m_changed = std::string_view(m_out).substr(mark) != line;
    if (end < text.size()) m_out += kCrLf;
    start = end + kCrLf.size();
  }
  if (!m_changed) return count;
  if (m_with.find_first_of(kCrLf) != std::string::npos) {
    FinishWithBreaks();
  } else if (!m_out.empty() && m_out.back() != '\n') {
    // The lines stay the lines: only the last one may still want its CR LF.
    m_out += kCrLf;
  }
  return count;
}

TBodyReplace ReplaceAllInBody(TEditorEx& search, std::string_view body, std::string_view replacement, bool needHit) {
  TBodyReplacer replacer(search, replacement);
  TBodyReplace result;
  result.count = replacer.Replace(body, needHit);
  result.changed = replacer.Changed();
  if (result.changed) result.body.swap(replacer.Body());
  return result;
}

TBodyReplace ReplaceAllInEditor(TEditorEx& editor, std::string_view body, std::string_view replacement, bool needHit) {
  TBodyReplace result;
  SetPageText(editor, body);
  const std::string before = PageText(editor);
  if (needHit && !editor.Find()) return result;
  result.count = editor.ReplaceAll(replacement, true);
  std::string after = PageText(editor);
  result.changed = after != before;
  if (result.changed) result.body = std::move(after);
  return result;
}

}  // namespace nuv
