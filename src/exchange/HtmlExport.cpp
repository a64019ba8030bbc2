// HTML export.
#include "exchange/HtmlExport.h"

#include <cmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "base/FileIo.h"
#include "exchange/MarkupText.h"
#include "outline/OutlineTree.h"

namespace nuv {

namespace {

constexpr std::string_view kStyle = R"(<style>
:root { color-scheme: light dark; --fg: #1f2328; --bg: #fdfdfb; --muted: #656d76; --rule: #d0d7de; --link: #0b57d0; --code: #f3f3f0; }
@media (prefers-color-scheme: dark) {
  :root { --fg: #e6e6e3; --bg: #17181b; --muted: #9da3ab; --rule: #3a3f46; --link: #8ab4f8; --code: #24262b; }
}
body { margin: 0 auto; max-width: 52em; padding: 1.5em; color: var(--fg); background: var(--bg);
  font-family: "IPAGothic", "Noto Sans CJK JP", sans-serif; line-height: 1.75; }
a { color: var(--link); }
nav.toc { border-bottom: 1px solid var(--rule); margin-bottom: 1.5em; }
nav.toc ul { list-style: none; margin: 0; padding-left: 1.25em; }
nav.toc > ul { padding-left: 0; }
.toc-title { color: var(--muted); font-weight: bold; }
section.page { border-top: 1px solid var(--rule); padding-top: .25em; }
.body { white-space: pre-wrap; overflow-wrap: anywhere; }
pre, code { background: var(--code); }
pre { padding: .5em; overflow-x: auto; }
</style>
)";

void AppendEscapedUtf8(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else if (!IsXmlControlByte(static_cast<unsigned char>(c))) out += c;
  }
}

void AppendId(std::string& out, int index) {
  out += 'p';
  out += std::to_string(index + 1);
}

}  // namespace

std::string RenderMarkdownSafely(std::string_view utf8) {
  std::unique_ptr<cmark_node, void (*)(cmark_node*)> doc(cmark_parse_document(utf8.data(), utf8.size(), CMARK_OPT_DEFAULT),
                                                          cmark_node_free);
  if (!doc) return std::string();
  // Raw HTML is shown as the text it is, never passed into the page.
  std::vector<cmark_node*> raw;
  cmark_iter* it = cmark_iter_new(doc.get());
  for (cmark_event_type ev; (ev = cmark_iter_next(it)) != CMARK_EVENT_DONE;) {
    cmark_node* n = cmark_iter_get_node(it);
    const cmark_node_type type = cmark_node_get_type(n);
    if (ev == CMARK_EVENT_ENTER && (type == CMARK_NODE_HTML_BLOCK || type == CMARK_NODE_HTML_INLINE)) raw.push_back(n);
  }
  cmark_iter_free(it);
  for (cmark_node* n : raw) {
    std::string literal = cmark_node_get_literal(n) ? cmark_node_get_literal(n) : "";
    cmark_node* text = cmark_node_new(CMARK_NODE_TEXT);
    cmark_node* replacement = text;
    if (cmark_node_get_type(n) == CMARK_NODE_HTML_BLOCK) {
      while (!literal.empty() && literal.back() == '\n') literal.pop_back();
      replacement = cmark_node_new(CMARK_NODE_PARAGRAPH);
      cmark_node_append_child(replacement, text);
    }
    cmark_node_set_literal(text, literal.c_str());
    cmark_node_replace(n, replacement);
    cmark_node_free(n);
  }
  // The default options keep raw HTML out and drop javascript: and similar links.
  char* html = cmark_render_html(doc.get(), CMARK_OPT_DEFAULT);
  std::string out = html ? html : "";
  std::free(html);
  return out;
}

TExchangeWriteResult BuildHtml(const TOutlineTree& tree, const THtmlOptions& options, IByteSink& out) {
  TExchangeWriteResult result;
  std::string buf;
  std::string title = options.title;
  if (title.empty() && tree.GetFirstNode()) title = ToUtf8(tree.GetFirstNode()->Text());
  buf += "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<meta name=\"generator\" content=\"nuv\">\n<title>";
  AppendEscapedUtf8(buf, title);
  buf += "</title>\n";
  buf += kStyle;
  buf += "</head>\n<body>\n";

  // The table of contents: nested lists in tree order.
  buf += "<nav class=\"toc\" aria-label=\"目次\">\n<p class=\"toc-title\">目次</p>\n<ul>\n";
  int index = 0;
  for (const TTreeNode* page = tree.GetFirstNode(); page; ++index) {
    buf += "<li><a href=\"#";
    AppendId(buf, index);
    buf += "\">";
    AppendUtf8(buf, page->Text(), TMarkup::Text);
    buf += "</a>";
    if (page->HasChildren()) {
      buf += "\n<ul>\n";
      page = page->GetFirstChild();
      continue;
    }
    buf += "</li>\n";
    while (page && !page->GetNextSibling()) {
      page = page->Parent();
      if (page) buf += "</ul>\n</li>\n";
    }
    if (page) page = page->GetNextSibling();
  }
  buf += "</ul>\n</nav>\n";

  index = 0;
  for (const TTreeNode* page = tree.GetFirstNode(); page; page = page->GetNext(), ++index) {
    const int depth = page->Level() + 1;
    const std::string tag = "h" + std::to_string(std::min(depth, 6));
    buf += "<section class=\"page\" id=\"";
    AppendId(buf, index);
    buf += "\">\n<" + tag;
    // Headings stop at h6; a deeper page says its level to assistive tools.
    if (depth > 6) buf += " aria-level=\"" + std::to_string(depth) + "\"";
    buf += ">";
    bool dropped = AppendUtf8(buf, page->Text(), TMarkup::Text);
    buf += "</" + tag + ">\n";
    if (page->Data() && !page->Data()->Body().empty()) {
      std::string_view body = page->Data()->Body();
      if (options.markdownBodies) {
        std::string utf8 = ToUtf8(body);
        const auto control = [](char c) { return IsXmlControlByte(static_cast<unsigned char>(c)); };
        dropped |= std::any_of(utf8.begin(), utf8.end(), control);
        utf8.erase(std::remove_if(utf8.begin(), utf8.end(), control), utf8.end());
        buf += "<div class=\"markdown\">\n";
        buf += RenderMarkdownSafely(utf8);
        buf += "</div>\n";
      } else {
        // The line end that closes the last line would show as an empty line.
        if (body.ends_with("\r\n"))
          body.remove_suffix(2);
        else if (body.ends_with('\n') || body.ends_with('\r'))
          body.remove_suffix(1);
        buf += "<div class=\"body\">";
        dropped |= AppendUtf8(buf, body, TMarkup::Text);
        buf += "</div>\n";
      }
    }
    if (dropped && !result.controlPage) result.controlPage = page;
    buf += "</section>\n";
    FlushLarge(buf, out);
  }
  buf += "</body>\n</html>\n";
  out.Append(buf);
  result.ok = true;
  return result;
}

TExchangeWriteResult WriteHtml(const std::string& path, const TOutlineTree& tree, bool markdownBodies) {
  THtmlOptions options;
  options.title = DocumentNameOf(path);
  options.markdownBodies = markdownBodies;
  TAtomicFileWriter writer(path);
  TExchangeWriteResult result = BuildHtml(tree, options, writer);
  result.ok = writer.Commit();
  return result;
}

}  // namespace nuv
