// Markdown writer and splitter.
//
// Reading: cmark parses the whole text once. A heading that is a direct
// child of the document starts a page; so does a bold depth line at column 0
// that cmark sees as paragraph text (a code or HTML block's line is not). The
// bodies are the source lines between them, kept byte for byte except for the
// writer's escape below.
//
// Writing: a body line can break the structure in two ways: it reads as a
// heading itself (an ATX line, a setext underline after a paragraph, a bold
// depth line), or it opens a fenced code or HTML block that would swallow the
// next page's heading. Such a line gets a backslash after its indentation.
// The escape is a bijection on lines: every line of the form indent, one or
// more backslashes, marker is always escaped, and reading removes one
// backslash from exactly those lines. Which unescaped marker lines need it is
// asked of cmark itself, on the page's heading, its body and the next page's
// heading; only bodies holding a marker line are parsed.
#include "exchange/Markdown.h"

#include <cmark.h>

#include <algorithm>
#include <memory>

#include "base/Codec.h"
#include "base/FileIo.h"
#include "base/Sjis.h"
#include "base/TextEncoding.h"
#include "base/Title.h"
#include "exchange/MarkupText.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

constexpr int kMaxAtxDepth = 6;

// Lines end at CR LF, CR or LF, as CommonMark counts them.
std::vector<std::string_view> SplitLines(std::string_view text) { return SplitLineViews(text); }

// Up to three spaces of indentation: more makes an indented code line.
std::size_t Indent(std::string_view line) {
  std::size_t n = 0;
  while (n < line.size() && n < 4 && line[n] == ' ') ++n;
  return n;
}

std::size_t RunOf(std::string_view s, char c) {
  std::size_t n = 0;
  while (n < s.size() && s[n] == c) ++n;
  return n;
}

bool OnlyBlanks(std::string_view s) { return s.find_first_not_of(" \t") == std::string_view::npos; }

// The depth of a bold depth line ("**#######" title "**"), 0 when it is none.
int DeepDepth(std::string_view line) {
  if (!line.starts_with("**")) return 0;
  const std::size_t hashes = RunOf(line.substr(2), '#');
  if (hashes <= static_cast<std::size_t>(kMaxAtxDepth)) return 0;
  std::string_view rest = line.substr(2 + hashes);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  if (!rest.ends_with("**")) return 0;
  rest.remove_suffix(2);
  if (!rest.empty() && rest.front() != ' ') return 0;
  return static_cast<int>(std::min<std::size_t>(hashes, kMaxExchangeDepth));
}

// Whether the text after a line's indentation starts a heading, a setext
// underline, a bold depth line, a code fence or an HTML block.
bool IsMarker(std::string_view rest) {
  if (rest.empty()) return false;
  switch (rest[0]) {
    case '#': {
      const std::size_t n = RunOf(rest, '#');
      return n <= static_cast<std::size_t>(kMaxAtxDepth) && (n == rest.size() || rest[n] == ' ' || rest[n] == '\t');
    }
    case '=':
    case '-': return OnlyBlanks(rest.substr(RunOf(rest, rest[0])));
    case '*': return DeepDepth(rest) > 0;
    case '`':
    case '~': return RunOf(rest, rest[0]) >= 3;
    case '<': return true;
    default: return false;
  }
}

bool IsSetextUnderline(std::string_view line) {
  const std::size_t indent = Indent(line);
  if (indent > 3 || indent >= line.size() || (line[indent] != '=' && line[indent] != '-')) return false;
  const std::string_view rest = line.substr(indent);
  return OnlyBlanks(rest.substr(RunOf(rest, rest[0])));
}

enum class TLineKind { Plain, Marker, Escaped };

TLineKind Classify(std::string_view line) {
  const std::size_t indent = Indent(line);
  if (indent > 3) return TLineKind::Plain;
  const std::string_view rest = line.substr(indent);
  const std::size_t slashes = RunOf(rest, '\\');
  if (!IsMarker(rest.substr(slashes))) return TLineKind::Plain;
  return slashes == 0 ? TLineKind::Marker : TLineKind::Escaped;
}

void AppendEscaped(std::string& out, std::string_view line) {
  const std::size_t indent = Indent(line);
  out.append(line.substr(0, indent));
  out += '\\';
  out.append(line.substr(indent));
}

struct TStructure {
  std::vector<TMarkdownHeading> headings;
  std::vector<std::pair<int, int>> blocks;  // top-level blocks, first and last line
};

TStructure Analyze(std::string_view utf8, const std::vector<std::string_view>& lines) {
  TStructure s;
  const int count = static_cast<int>(lines.size());
  std::unique_ptr<cmark_node, void (*)(cmark_node*)> doc(cmark_parse_document(utf8.data(), utf8.size(), CMARK_OPT_DEFAULT),
                                                          cmark_node_free);
  if (!doc || count == 0) return s;
  auto clampLine = [&](int l) { return std::clamp(l - 1, 0, count - 1); };
  std::vector<char> paragraph(lines.size()), heading(lines.size());
  for (cmark_node* n = cmark_node_first_child(doc.get()); n; n = cmark_node_next(n)) {
    const int first = clampLine(cmark_node_get_start_line(n)), last = clampLine(cmark_node_get_end_line(n));
    if (cmark_node_get_type(n) != CMARK_NODE_HEADING) {
      s.blocks.emplace_back(first, last);
      continue;
    }
    // cmark stretches a setext heading's end to the next block, so the
    // underline is found here: the first underline-shaped line after the text.
    int end = first;
    const std::string_view head = lines[static_cast<std::size_t>(first)];
    if (head.substr(Indent(head)).starts_with('#') == false)
      while (end < last && !IsSetextUnderline(lines[static_cast<std::size_t>(end)])) ++end;
    s.blocks.emplace_back(first, end);
    s.headings.push_back({first, end, cmark_node_get_heading_level(n), false});
    std::fill(heading.begin() + first, heading.begin() + end + 1, 1);
  }
  cmark_iter* it = cmark_iter_new(doc.get());
  for (cmark_event_type ev; (ev = cmark_iter_next(it)) != CMARK_EVENT_DONE;) {
    cmark_node* n = cmark_iter_get_node(it);
    if (ev != CMARK_EVENT_ENTER || cmark_node_get_type(n) != CMARK_NODE_PARAGRAPH) continue;
    const int first = clampLine(cmark_node_get_start_line(n)), last = clampLine(cmark_node_get_end_line(n));
    std::fill(paragraph.begin() + first, paragraph.begin() + last + 1, 1);
  }
  cmark_iter_free(it);
  for (int i = 0; i < count; ++i)
    if (paragraph[i] && !heading[i])
      if (const int depth = DeepDepth(lines[i])) s.headings.push_back({i, i, depth, true});
  std::sort(s.headings.begin(), s.headings.end(),
            [](const TMarkdownHeading& a, const TMarkdownHeading& b) { return a.first < b.first; });
  return s;
}

}  // namespace

std::vector<TMarkdownHeading> FindMarkdownHeadings(std::string_view utf8, const std::vector<std::string_view>& lines) {
  return Analyze(utf8, lines).headings;
}

// ---- Writing ----

namespace {

std::string HeadingLine(std::string_view title, int depth) {
  std::string line;
  if (depth <= kMaxAtxDepth) {
    line.assign(static_cast<std::size_t>(depth), '#');
    if (!title.empty()) (line += ' ') += title;
    // A title ending in "#" would lose it as a closing sequence.
    if (title.ends_with('#')) line += " #";
  } else {
    line = "**" + std::string(static_cast<std::size_t>(depth), '#');
    if (!title.empty()) (line += ' ') += title;
    // Two spaces end the bold line with a line break, so the body starts below it.
    line += "**  ";
  }
  return line;
}

// Which body lines need the escape (see the file comment).
std::vector<char> EscapesFor(const std::string& heading, const std::vector<std::string_view>& body, int nextDepth) {
  std::vector<char> escape(body.size());
  bool suspicious = false;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const TLineKind kind = Classify(body[i]);
    escape[i] = kind == TLineKind::Escaped;
    suspicious |= kind == TLineKind::Marker;
  }
  if (!suspicious) return escape;
  const std::string probe = HeadingLine("p", nextDepth);
  const int probeLine = static_cast<int>(body.size()) + 1;
  for (int round = 0; round < 8; ++round) {
    std::string chunk = heading + "\n";
    for (std::size_t i = 0; i < body.size(); ++i) {
      if (escape[i])
        AppendEscaped(chunk, body[i]);
      else
        chunk.append(body[i]);
      chunk += '\n';
    }
    chunk += probe;
    chunk += '\n';
    const std::string utf8 = ToUtf8(chunk);
    const std::vector<std::string_view> lines = SplitLines(utf8);
    const TStructure s = Analyze(utf8, lines);
    bool changed = false, stuck = false;
    // Only a marker line can take the escape and lose it again on reading;
    // any other culprit sends the body to the escape of every marker line.
    auto mark = [&](int line) {
      if (line < 1 || line > static_cast<int>(body.size()) || escape[line - 1]) return;
      if (Classify(body[static_cast<std::size_t>(line - 1)]) != TLineKind::Marker) {
        stuck = true;
        return;
      }
      escape[line - 1] = 1;
      changed = true;
    };
    bool probeFound = false;
    for (const TMarkdownHeading& h : s.headings) {
      if (h.first == probeLine) probeFound = true;
      else if (h.first != 0 || h.last != 0) mark(h.last);  // a heading inside the body, or a setext underline
    }
    if (!probeFound)
      for (const auto& [first, last] : s.blocks)
        if (first <= probeLine && probeLine <= last) mark(first);
    if (stuck) break;
    if (!changed && probeFound) return escape;
    if (!changed) break;
  }
  for (std::size_t i = 0; i < body.size(); ++i)
    if (Classify(body[i]) != TLineKind::Plain) escape[i] = 1;
  return escape;
}

}  // namespace

TExchangeWriteResult BuildMarkdown(const TOutlineTree& tree, IByteSink& out) {
  std::string buf;
  std::vector<std::string_view> body;
  for (const TTreeNode* page = tree.GetFirstNode(); page;) {
    // The depth of the page and of the next one, counted while walking.
    const TTreeNode* next = page->GetNext();
    const int depth = page->Level() + 1;
    const std::string heading = HeadingLine(page->Text(), depth);
    AppendUtf8(buf, heading);
    buf += '\n';
    if (page->Data() && !page->Data()->Body().empty()) {
      body = SplitLines(page->Data()->Body());
      const std::vector<char> escape = EscapesFor(heading, body, next ? next->Level() + 1 : 1);
      if (std::find(escape.begin(), escape.end(), 1) == escape.end()) {
        // Nothing to escape: the body goes out in one piece.
        const std::string_view whole = page->Data()->Body();
        AppendUtf8(buf, whole, TMarkup::PlainLf);
        if (!whole.ends_with('\n') && !whole.ends_with('\r')) buf += '\n';
        body.clear();
      }
      for (std::size_t i = 0; i < body.size(); ++i) {
        if (escape[i]) {
          std::string line;
          AppendEscaped(line, body[i]);
          AppendUtf8(buf, line);
        } else {
          AppendUtf8(buf, body[i]);
        }
        buf += '\n';
      }
    }
    FlushLarge(buf, out);
    page = next;
  }
  out.Append(buf);
  TExchangeWriteResult result;
  result.ok = true;
  return result;
}

TExchangeWriteResult WriteMarkdown(const std::string& path, const TOutlineTree& tree) {
  TAtomicFileWriter writer(path);
  TExchangeWriteResult result = BuildMarkdown(tree, writer);
  result.ok = writer.Commit();
  return result;
}

// ---- Reading ----

namespace {

// The title of an ATX heading line: without the opening and closing runs of
// "#" and the blanks around the text.
std::string_view AtxTitle(std::string_view line) {
  std::string_view rest = line.substr(Indent(line));
  rest.remove_prefix(RunOf(rest, '#'));
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  std::size_t closing = 0;
  while (closing < rest.size() && rest[rest.size() - 1 - closing] == '#') ++closing;
  if (closing == rest.size()) return {};
  if (closing > 0 && (rest[rest.size() - 1 - closing] == ' ' || rest[rest.size() - 1 - closing] == '\t')) {
    rest.remove_suffix(closing);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  }
  return rest;
}

std::string_view DeepTitle(std::string_view line) {
  std::string_view rest = line.substr(2 + RunOf(line.substr(2), '#'));
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  rest.remove_suffix(2);
  return rest;
}

std::string TitleOf(const TMarkdownHeading& h, const std::vector<std::string_view>& lines) {
  if (h.deep) return std::string(DeepTitle(lines[static_cast<std::size_t>(h.first)]));
  if (h.first == h.last) return std::string(AtxTitle(lines[static_cast<std::size_t>(h.first)]));
  // A setext heading: its text lines joined by one space.
  std::string title;
  for (int i = h.first; i < h.last; ++i) {
    if (!title.empty()) title += ' ';
    title += TrimControl(lines[static_cast<std::size_t>(i)]);
  }
  return title;
}

// The end of YAML front matter ("---" on the first line, closed by "---" or
// "..."): the line after it, or 0 when there is none.
std::size_t FrontMatterEnd(const std::vector<std::string_view>& lines) {
  auto trimmed = [](std::string_view l) {
    while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.remove_suffix(1);
    return l;
  };
  if (lines.empty() || trimmed(lines[0]) != "---") return 0;
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (trimmed(lines[i]) == "---" || trimmed(lines[i]) == "...") return i + 1;
  return 0;
}

// Places pages by heading depth: a page becomes the child of the nearest
// page before it with a smaller depth, so "#" then "###" then "##" gives one
// parent with two children, and a file that starts at "###" starts at the top.
class TPagePlacer {
 public:
  explicit TPagePlacer(TOutlineTree& out) : m_out(out) {}
  // A root page that no later heading goes under (the text before the first heading).
  TTreeNode* AddLoose(const std::string& title) { return m_out.AddChild(nullptr, title); }
  TTreeNode* Add(int depth, const std::string& title) {
    while (!m_open.empty() && m_open.back().first >= depth) m_open.pop_back();
    // The open pages have rising depths, so the tree is never deeper than the cap.
    TTreeNode* page = m_out.AddChild(m_open.empty() ? nullptr : m_open.back().second, title);
    m_open.emplace_back(depth, page);
    return page;
  }

 private:
  TOutlineTree& m_out;
  std::vector<std::pair<int, TTreeNode*>> m_open;
};

}  // namespace

TExchangeReadResult ReadMarkdownBytes(std::string_view bytes, std::string_view fileTitle,
                                      const TExchangeReadOptions& options, TOutlineTree& out) {
  TExchangeReadResult result;
  // The structure comes from UTF-8; titles and bodies from the Shift JIS text
  // of the same lines.
  std::string utf8Copy, sjis;
  std::string_view utf8;
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) {
    utf8 = bytes;
    TUnencodable problem;
    auto converted = Utf8ToSjis(bytes, options.substitute, 1, &problem);
    if (!converted) {
      result.status = TExchangeStatus::Unencodable;
      result.line = problem.line;
      result.detail = problem.character;
      return result;
    }
    if (problem.line) {
      result.substituted = true;
      result.line = problem.line;
      result.detail = problem.character;
    }
    sjis = std::move(*converted);
  } else {
    sjis.assign(bytes);
    utf8Copy = Cp932ToUtf8(bytes);
    utf8 = utf8Copy;
  }
  const std::vector<std::string_view> lines = SplitLines(sjis);
  std::vector<std::string_view> utf8Lines = SplitLines(utf8);

  // Front matter belongs to the first page and is hidden from the parser.
  const std::size_t frontEnd = FrontMatterEnd(utf8Lines);
  std::vector<TMarkdownHeading> headings;
  if (frontEnd == 0) {
    headings = Analyze(utf8, utf8Lines).headings;
  } else {
    const std::size_t offset = frontEnd < utf8Lines.size()
                                   ? static_cast<std::size_t>(utf8Lines[frontEnd].data() - utf8.data())
                                   : utf8.size();
    const std::string blanked = std::string(frontEnd, '\n') + std::string(utf8.substr(offset));
    std::vector<std::string_view> blankedLines = SplitLines(blanked);
    headings = Analyze(blanked, blankedLines).headings;
  }

  auto bodyOf = [&](std::size_t from, std::size_t to) {
    std::string body;
    for (std::size_t i = from; i < to && i < lines.size(); ++i) {
      std::string_view line = lines[i];
      if (Classify(line) == TLineKind::Escaped) {
        const std::size_t indent = Indent(line);
        body.append(line.substr(0, indent));
        body.append(line.substr(indent + 1));
      } else {
        body.append(line);
      }
      body += "\r\n";
    }
    return body;
  };
  auto addPage = [&](TPagePlacer& placer, int depth, std::string title, std::string body) {
    // Trimmed once more after the cut, so the title reads back as itself.
    title = std::string(TrimControl(DeriveTitle(title)));
    if (title.empty()) title = texts::Untitled();
    TTreeNode* page = depth == 0 ? placer.AddLoose(title) : placer.Add(depth, title);
    out.SetImageIndex(page, pic::kMemo);
    if (options.format.ClearLabel1) out.SetStateIndex(page, pic::kBlankLabel);
    auto data = std::make_unique<TNodeData>();
    data->SetBody(std::move(body));
    data->SetMark(pic::kMemo);
    data->SetLabel(LabelFromStateIndex(page->StateIndex()));
    out.SetData(page, std::move(data));
  };

  TPagePlacer placer(out);
  const std::size_t firstHeading = headings.empty() ? lines.size() : static_cast<std::size_t>(headings[0].first);
  bool preamble = false;
  for (std::size_t i = 0; i < firstHeading && i < lines.size() && !preamble; ++i) preamble = !OnlyBlanks(lines[i]);
  if (preamble) addPage(placer, 0, std::string(fileTitle), bodyOf(0, firstHeading));
  for (std::size_t k = 0; k < headings.size(); ++k) {
    const TMarkdownHeading& h = headings[k];
    const std::size_t end = k + 1 < headings.size() ? static_cast<std::size_t>(headings[k + 1].first) : lines.size();
    addPage(placer, h.depth, TitleOf(h, lines), bodyOf(static_cast<std::size_t>(h.last) + 1, end));
  }
  if (!out.GetFirstNode()) addPage(placer, 0, std::string(), std::string());
  TTreeNode* last = out.GetLastRootPage();
  if (last->Text() == texts::TrashTitle()) UpdateTrashPicture(out, last);
  return result;
}

TExchangeReadResult ReadMarkdown(const std::string& path, const TExchangeReadOptions& options, TOutlineTree& out) {
  TMappedFile file;
  if (file.Open(path) != TReadResult::Ok) return CannotRead();
  std::string title;
  if (const auto t = Utf8ToCp932(DocumentNameOf(path))) title = *t;
  return ReadMarkdownBytes(file.Bytes(), title, options, out);
}

}  // namespace nuv
