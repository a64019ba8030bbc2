// OPML reader (expat) and writer.
//
// The reader is expat's stream of start and end tags: a stack of the open
// elements says where an `outline` belongs, so nesting needs no recursion.
// `expansionState` lists the expanded outlines by their line among the lines
// shown: starting at the first top-level outline, walk down that many shown
// lines and expand the one reached, each expansion showing more lines. nuv
// writes the list in ascending order and reads it in ascending order, in one
// walk. A page expanded under a collapsed parent has no shown line; it keeps
// its state in `nuv:expanded`.
#include "exchange/Opml.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <vector>

#include "base/FileIo.h"
#include "base/Sjis.h"
#include "base/Title.h"
#include "exchange/MarkupText.h"
#include "outline/OutlineTexts.h"
#include "outline/OutlineTree.h"
#include "outline/PagePictures.h"
#include "outline/TrashRules.h"

namespace nuv {

namespace {

// The page after `page` in tree order when its children are not entered.
const TTreeNode* NextSkippingChildren(const TTreeNode* page) {
  while (page && !page->GetNextSibling()) page = page->Parent();
  return page ? page->GetNextSibling() : nullptr;
}

// The next shown page: into the children of an expanded page, else onwards.
const TTreeNode* NextShown(const TTreeNode* page) {
  if (page->Expanded() && page->HasChildren()) return page->GetFirstChild();
  return NextSkippingChildren(page);
}

std::string ExpansionState(const TOutlineTree& tree) {
  std::string list;
  int line = 0;
  for (const TTreeNode* page = tree.GetFirstNode(); page; page = NextShown(page), ++line) {
    if (!page->Expanded()) continue;
    if (!list.empty()) list += ',';
    list += std::to_string(line);
  }
  return list;
}

}  // namespace

TExchangeWriteResult BuildOpml(const TOutlineTree& tree, std::string_view name, IByteSink& out) {
  TExchangeWriteResult result;
  std::string buf;
  buf += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<opml version=\"2.0\" xmlns:nuv=\"";
  buf += kNuvOpmlNamespace;
  buf += "\">\n  <head>\n    <title>";
  // The name is UTF-8 already: only the markup characters need escaping.
  for (const char c : name) {
    if (c == '&') buf += "&amp;";
    else if (c == '<') buf += "&lt;";
    else if (c == '>') buf += "&gt;";
    else if (!IsXmlControlByte(static_cast<unsigned char>(c))) buf += c;
  }
  buf += "</title>\n";
  const std::string expansion = ExpansionState(tree);
  if (!expansion.empty()) buf += "    <expansionState>" + expansion + "</expansionState>\n";
  buf += "  </head>\n  <body>\n";

  // Whether the page at each depth is shown: its parent is shown and expanded.
  std::vector<char> shown;
  const TTreeNode* page = tree.GetFirstNode();
  std::size_t level = 0;
  while (page) {
    shown.resize(level + 1);
    shown[level] = level == 0 || (shown[level - 1] && page->Parent()->Expanded());
    buf.append(2 * level + 4, ' ');
    buf += "<outline text=\"";
    bool dropped = AppendUtf8(buf, page->Text(), TMarkup::Attribute);
    if (page->Data() && !page->Data()->Body().empty()) {
      buf += "\" _note=\"";
      std::string_view body = page->Data()->Body();
      // The note holds the lines without the line end that closes the last one.
      if (body.ends_with("\r\n"))
        body.remove_suffix(2);
      else if (body.ends_with('\n') || body.ends_with('\r'))
        body.remove_suffix(1);
      dropped |= AppendUtf8(buf, body, TMarkup::Attribute);
    }
    buf += "\" nuv:mark=\"" + std::to_string(page->ImageIndex()) + "\" nuv:label=\"" +
           std::to_string(page->StateIndex()) + "\"";
    if (page->Expanded() && !shown[level]) buf += " nuv:expanded=\"1\"";
    if (dropped && !result.controlPage) result.controlPage = page;
    if (page->HasChildren()) {
      buf += ">\n";
      page = page->GetFirstChild();
      ++level;
    } else {
      buf += "/>\n";
      while (page && !page->GetNextSibling()) {
        page = page->Parent();
        if (!page) break;
        --level;
        buf.append(2 * level + 4, ' ');
        buf += "</outline>\n";
      }
      if (page) page = page->GetNextSibling();
    }
    FlushLarge(buf, out);
  }
  buf += "  </body>\n</opml>\n";
  out.Append(buf);
  result.ok = true;
  return result;
}

TExchangeWriteResult WriteOpml(const std::string& path, const TOutlineTree& tree) {
  TAtomicFileWriter writer(path);
  TExchangeWriteResult result = BuildOpml(tree, DocumentNameOf(path), writer);
  result.ok = writer.Commit();
  return result;
}

namespace {

// Expat reports a name in a namespace as "uri" kSep "local".
constexpr char kSep = '\x01';

enum class TElement { Opml, Head, HeadTitle, HeadExpansion, Body, Outline, Other };

std::optional<int> ParseInt(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
    s.remove_suffix(1);
  int value = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return value;
}

// Line ends to CR LF, and every line, the last included, closed by one.
std::string BodyFromNote(std::string_view note) {
  std::string body;
  body.reserve(note.size() + note.size() / 16 + 2);
  for (std::size_t i = 0; i < note.size(); ++i) {
    const char c = note[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < note.size() && note[i + 1] == '\n') ++i;
      body += "\r\n";
    } else {
      body += c;
    }
  }
  if (!body.empty()) body += "\r\n";
  return body;
}

class TOpmlReader {
 public:
  TOpmlReader(const TExchangeReadOptions& options, TOutlineTree& out) : m_options(options), m_out(out) {
    m_parser = XML_ParserCreateNS(nullptr, kSep);
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &TOpmlReader::OnStart, &TOpmlReader::OnEnd);
    XML_SetCharacterDataHandler(m_parser, &TOpmlReader::OnText);
    // Nothing outside the document is read: no external DTD, no external entity.
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
  }
  ~TOpmlReader() { XML_ParserFree(m_parser); }
  TOpmlReader(const TOpmlReader&) = delete;
  TOpmlReader& operator=(const TOpmlReader&) = delete;

  TExchangeReadResult Run(std::string_view bytes) {
    constexpr std::size_t kChunk = 1u << 24;
    bool ok = true;
    do {
      const std::size_t n = std::min(kChunk, bytes.size());
      ok = XML_Parse(m_parser, bytes.data(), static_cast<int>(n), n == bytes.size()) == XML_STATUS_OK;
      bytes.remove_prefix(n);
    } while (ok && !bytes.empty());
    if (m_result.status != TExchangeStatus::Ok) return m_result;
    if (!ok) return Fail(TExchangeStatus::Malformed, XML_ErrorString(XML_GetErrorCode(m_parser)));
    if (!m_sawOpml) return Fail(TExchangeStatus::Malformed, "not an OPML document");
    Finish();
    return m_result;
  }

 private:
  static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** attrs) {
    static_cast<TOpmlReader*>(self)->Start(name, attrs);
  }
  static void XMLCALL OnEnd(void* self, const XML_Char*) { static_cast<TOpmlReader*>(self)->End(); }
  static void XMLCALL OnText(void* self, const XML_Char* s, int len) {
    auto* r = static_cast<TOpmlReader*>(self);
    const TElement top = r->m_elements.empty() ? TElement::Other : r->m_elements.back();
    // A head field longer than this is no title or list nuv could use.
    if ((top == TElement::HeadTitle || top == TElement::HeadExpansion) && r->m_headText.size() < (1u << 26))
      r->m_headText.append(s, static_cast<std::size_t>(len));
  }

  TExchangeReadResult Fail(TExchangeStatus status, std::string detail) {
    m_result.status = status;
    m_result.line = static_cast<int>(XML_GetCurrentLineNumber(m_parser));
    m_result.detail = std::move(detail);
    return m_result;
  }

  void Stop(TExchangeStatus status, std::string detail) {
    Fail(status, std::move(detail));
    XML_StopParser(m_parser, XML_FALSE);
  }

  TElement Classify(std::string_view name) const {
    if (m_elements.empty()) return name == "opml" ? TElement::Opml : TElement::Other;
    switch (m_elements.back()) {
      case TElement::Opml:
        if (name == "head") return TElement::Head;
        if (name == "body") return TElement::Body;
        return TElement::Other;
      case TElement::Head:
        if (name == "title") return TElement::HeadTitle;
        if (name == "expansionState") return TElement::HeadExpansion;
        return TElement::Other;
      case TElement::Body:
      case TElement::Outline:
        return name == "outline" ? TElement::Outline : TElement::Other;
      default:
        return TElement::Other;
    }
  }

  void Start(const XML_Char* name, const XML_Char** attrs) {
    if (m_result.status != TExchangeStatus::Ok) return;
    const TElement kind = Classify(name);
    if (m_elements.empty()) {
      if (kind != TElement::Opml) return Stop(TExchangeStatus::Malformed, "not an OPML document");
      m_sawOpml = true;
    }
    m_elements.push_back(kind);
    if (kind == TElement::HeadTitle || kind == TElement::HeadExpansion) m_headText.clear();
    if (kind == TElement::Outline) AddPage(attrs);
  }

  void End() {
    if (m_result.status != TExchangeStatus::Ok || m_elements.empty()) return;
    const TElement kind = m_elements.back();
    m_elements.pop_back();
    if (kind == TElement::Outline) m_pages.pop_back();
    if (kind == TElement::HeadExpansion) ParseExpansion();
  }

  std::optional<std::string> Convert(std::string_view utf8) {
    TUnencodable problem;
    auto sjis = Utf8ToSjis(utf8, m_options.substitute, static_cast<int>(XML_GetCurrentLineNumber(m_parser)), &problem);
    if (sjis && problem.line && !m_result.substituted) {
      m_result.substituted = true;
      m_result.line = problem.line;
      m_result.detail = problem.character;
    }
    if (!sjis) Stop(TExchangeStatus::Unencodable, problem.character);
    return sjis;
  }

  void AddPage(const XML_Char** attrs) {
    std::string_view text, note;
    std::optional<int> mark, label;
    bool expanded = false;
    const std::string nuvPrefix = std::string(kNuvOpmlNamespace) + kSep;
    for (const XML_Char** a = attrs; *a; a += 2) {
      const std::string_view key = a[0], value = a[1];
      if (key == "text") text = value;
      else if (key == "_note") note = value;
      else if (key.starts_with(nuvPrefix)) {
        const std::string_view local = key.substr(nuvPrefix.size());
        if (local == "mark") mark = ParseInt(value);
        else if (local == "label") label = ParseInt(value);
        else if (local == "expanded") expanded = value == "1" || value == "true";
      }
    }
    auto title = Convert(text);
    if (!title) return;
    auto noteSjis = Convert(note);
    if (!noteSjis) return;
    // A title is one line: line ends and tabs inside it become spaces.
    for (char& c : *title)
      if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    // Trimmed once more after the cut, so the title reads back as itself.
    std::string derived(TrimControl(DeriveTitle(*title)));
    if (derived.empty()) derived = texts::Untitled();

    const std::size_t depth = std::min<std::size_t>(m_pages.size(), kMaxExchangeDepth - 1);
    TTreeNode* parent = depth == 0 ? nullptr : m_pages[depth - 1];
    TTreeNode* page = m_out.AddChild(parent, derived);
    m_pages.push_back(page);
    const int image = mark ? SanitizeMark(*mark, parent == nullptr, derived) : pic::kMemo;
    m_out.SetImageIndex(page, image);
    if (label)
      m_out.SetStateIndex(page, SanitizeStateIndex(*label));
    else if (m_options.format.ClearLabel1)
      m_out.SetStateIndex(page, pic::kBlankLabel);
    auto data = std::make_unique<TNodeData>();
    data->SetBody(BodyFromNote(*noteSjis));
    data->SetMark(image);
    data->SetLabel(LabelFromStateIndex(page->StateIndex()));
    m_out.SetData(page, std::move(data));
    if (expanded) m_out.SetExpanded(page, true);
  }

  void ParseExpansion() {
    std::string_view rest = m_headText;
    while (!rest.empty()) {
      const std::size_t comma = std::min(rest.find(','), rest.size());
      if (const auto n = ParseInt(rest.substr(0, comma)); n && *n >= 0) m_expansion.push_back(*n);
      rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
  }

  void Finish() {
    if (!m_out.GetFirstNode()) {
      TTreeNode* page = m_out.AddChild(nullptr, texts::Untitled());
      m_out.SetImageIndex(page, pic::kMemo);
      m_out.EnsureData(page);
    }
    std::sort(m_expansion.begin(), m_expansion.end());
    std::size_t k = 0;
    int line = 0;
    for (const TTreeNode* page = m_out.GetFirstNode(); page && k < m_expansion.size(); ++line) {
      while (k < m_expansion.size() && m_expansion[k] < line) ++k;
      if (k < m_expansion.size() && m_expansion[k] == line) m_out.SetExpanded(const_cast<TTreeNode*>(page), true);
      page = NextShown(page);
    }
    TTreeNode* last = m_out.GetLastRootPage();
    if (last->Text() == texts::TrashTitle()) UpdateTrashPicture(m_out, last);
  }

  const TExchangeReadOptions& m_options;
  TOutlineTree& m_out;
  XML_Parser m_parser;
  TExchangeReadResult m_result;
  bool m_sawOpml = false;
  std::vector<TElement> m_elements;
  std::vector<TTreeNode*> m_pages;  // the open outline elements' pages
  std::string m_headText;
  std::vector<int> m_expansion;
};

}  // namespace

TExchangeReadResult ReadOpmlBytes(std::string_view bytes, const TExchangeReadOptions& options, TOutlineTree& out) {
  TOpmlReader reader(options, out);
  return reader.Run(bytes);
}

TExchangeReadResult ReadOpml(const std::string& path, const TExchangeReadOptions& options, TOutlineTree& out) {
  TMappedFile file;
  if (file.Open(path) != TReadResult::Ok) return CannotRead();
  return ReadOpmlBytes(file.Bytes(), options, out);
}

}  // namespace nuv
