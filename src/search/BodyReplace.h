// Replace all in a page's body as bytes, for pages that are not shown: the
// same hits, the same count and the same resulting body as loading the page
// into the editor and running its replace all, without building the rows.
#pragma once

#include <string>
#include <string_view>

#include "editor/EditorEx.h"

namespace nuv {

// Replaces in one body after another. Its buffers are kept from one body to
// the next, and handing the new body over by swapping it with the page's
// gives the old one's buffer to the next body: a walk over many pages then
// allocates next to nothing.
class TBodyReplacer {
 public:
  // `search` holds the pattern and the options (a TEditorMatcher's editor).
  TBodyReplacer(TEditorEx& search, std::string_view replacement);

  // Every hit of the body replaced, "\r\n" written in the replacement read as
  // a line break; returns the count as the editor's replace all counts. With
  // `needHit` nothing is replaced unless the text has a hit that is not
  // empty, as the window's replace all first finds one from the top.
  int Replace(std::string_view body, bool needHit);
  // Whether the last body's bytes change; the new body (every line followed
  // by CR LF) is then Body().
  bool Changed() const { return m_changed; }
  std::string& Body() { return m_out; }

 private:
  // The text an editor holds after loading `body`, and its lowered form when
  // the search ignores case.
  void LoadText(std::string_view body);
  // Appends the text with every hit replaced to m_out; returns the count.
  int ReplaceHits(std::string_view text, std::string_view folded);
  // The replaced text of a pattern with line breaks (or a replacement with
  // them) in body form, and whether it differs from the text's.
  void FinishWithBreaks();

  TEditorEx& m_search;
  std::string m_with;
  bool m_foldsCase;
  bool m_wholeText;  // the pattern holds "\r\n": the text is searched whole
  std::string m_text, m_folded, m_out, m_scratch;
  bool m_changed = false;
};

// One body replaced, for callers that replace in a few.
struct TBodyReplace {
  int count = 0;
  bool changed = false;
  std::string body;  // the new body when changed
};
TBodyReplace ReplaceAllInBody(TEditorEx& search, std::string_view body, std::string_view replacement,
                              bool needHit = false);

// The same through the editor's rows: the body loaded into `editor` (which
// holds the pattern and the options), the editor's Find and replace all, its
// text taken back. The measure the body path is checked and timed against.
TBodyReplace ReplaceAllInEditor(TEditorEx& editor, std::string_view body, std::string_view replacement,
                                bool needHit = false);

}  // namespace nuv
