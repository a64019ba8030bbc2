// Required text of a parse tree, computed bottom-up over the graph.
//
// For each node: whether it matches exactly one fixed string (and which), a
// fixed prefix and suffix of all its matches, and a fixed run contained in all
// of them. A concatenation joins its sides' suffix and prefix into a further
// candidate run; a union keeps the common prefix and suffix; a closure, a
// class and an anchor (which is empty or a literal character depending on its
// place) know nothing. Runs are capped, so the work stays linear.
#include "regex/RequiredText.h"

#include <unordered_map>
#include <vector>

#include "base/Sjis.h"

namespace nuv {

namespace {

constexpr std::size_t kMaxRun = 32;  // characters

struct TInfo {
  bool exact = false;
  std::vector<TWChar> text;  // the exact string when `exact`
  std::vector<TWChar> prefix, suffix, must;
};

std::vector<TWChar> Head(std::vector<TWChar> v) {
  if (v.size() > kMaxRun) v.resize(kMaxRun);
  return v;
}
std::vector<TWChar> Tail(const std::vector<TWChar>& v) {
  return v.size() > kMaxRun ? std::vector<TWChar>(v.end() - kMaxRun, v.end()) : v;
}
std::vector<TWChar> Join(const std::vector<TWChar>& a, const std::vector<TWChar>& b) {
  std::vector<TWChar> out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}
const std::vector<TWChar>& Longest(const std::vector<TWChar>& a, const std::vector<TWChar>& b) {
  return b.size() > a.size() ? b : a;
}

TInfo Combine(const RENode_t* n, const TInfo* l, const TInfo* r) {
  TInfo info;
  switch (n->Operation) {
    case reop_Char:
      if (n->CharClass.StartChar == n->CharClass.EndChar) {
        info.exact = true;
        info.text = info.prefix = info.suffix = info.must = {n->CharClass.StartChar};
      }
      break;
    case reop_Empty: info.exact = true; break;
    case reop_Concat: {
      info.exact = l->exact && r->exact && l->text.size() + r->text.size() <= kMaxRun;
      if (info.exact) info.text = Join(l->text, r->text);
      info.prefix = Head(l->exact ? Join(l->text, r->prefix) : l->prefix);
      info.suffix = Tail(r->exact ? Join(l->suffix, r->text) : r->suffix);
      info.must = Longest(Longest(l->must, r->must), Head(Join(l->suffix, r->prefix)));
      if (info.exact) info.must = Longest(info.must, info.text);
      break;
    }
    case reop_Union: {
      info.exact = l->exact && r->exact && l->text == r->text;
      if (info.exact) info.text = l->text;
      std::size_t k = 0;
      while (k < l->prefix.size() && k < r->prefix.size() && l->prefix[k] == r->prefix[k]) ++k;
      info.prefix.assign(l->prefix.begin(), l->prefix.begin() + static_cast<std::ptrdiff_t>(k));
      k = 0;
      while (k < l->suffix.size() && k < r->suffix.size() &&
             l->suffix[l->suffix.size() - 1 - k] == r->suffix[r->suffix.size() - 1 - k])
        ++k;
      info.suffix.assign(l->suffix.end() - static_cast<std::ptrdiff_t>(k), l->suffix.end());
      info.must = Longest(info.prefix, info.suffix);
      break;
    }
    default: break;  // closure, anchors
  }
  return info;
}

}  // namespace

TRequiredText RequiredText(const RENode_t* root) {
  if (!root) return {};
  std::unordered_map<const RENode_t*, TInfo> done;
  std::vector<std::pair<const RENode_t*, bool>> stack{{root, false}};
  while (!stack.empty()) {
    auto [n, expanded] = stack.back();
    stack.pop_back();
    if (done.count(n)) continue;
    const bool binary = n->Operation == reop_Concat || n->Operation == reop_Union;
    if (!expanded && binary) {
      stack.push_back({n, true});
      stack.push_back({n->Right, false});
      stack.push_back({n->Left, false});
      continue;
    }
    const TInfo* l = binary ? &done.at(n->Left) : nullptr;
    const TInfo* r = binary ? &done.at(n->Right) : nullptr;
    done.emplace(n, Combine(n, l, r));
  }
  const TInfo& info = done.at(root);
  TRequiredText out;
  for (const TWChar c : info.must) out.text += WCharToStr(c);
  // Taken as the whole pattern only when the bytes read back as the same
  // characters wherever they stand: a lone lead byte could pair with the
  // byte after it.
  std::vector<TWChar> reread;
  for (std::size_t i = 0; i < out.text.size();) reread.push_back(GetWChar(out.text, i));
  const bool loneLeadAtEnd = !info.must.empty() && info.must.back() < 0x100 &&
                             IsLeadByte(static_cast<unsigned char>(info.must.back()));
  out.whole = info.exact && !info.text.empty() && info.text == info.must && reread == info.must && !loneLeadAtEnd;
  return out;
}

}  // namespace nuv
