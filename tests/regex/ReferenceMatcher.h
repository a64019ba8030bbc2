// A slow matcher kept for tests only, independent of the engine: it scans and
// parses the pattern string itself (its own recursive descent over the
// grammar: alternatives, terms, factors with one postfix operator, primaries,
// classes with escapes and ranges) into its own tree, and matches by
// backtracking over sets of positions, leftmost-longest, with the anchors and
// the walk's stopping rule of the engine's match procedures. Nothing of the
// engine's scanner, parser or automata is used, so a wrong parse there shows.
//
// How it matches. For a start position, Ends() follows every path through
// the tree and collects where paths stand after consuming characters (the
// walk stops after the furthest), where they accept, and where they stand at
// an anchoring "$". "^" anchors only as the first thing a path can match from
// the start of the pattern, "$" only as the last, and in a repeated group only
// in the first copy of X+ (for "^"); elsewhere they are the characters "^" and
// "$".
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Codec.h"
#include "base/Sjis.h"

namespace nuv::test {

class TReferenceMatcher {
 public:
  // A pattern the grammar refuses; `message` is the text the user sees.
  struct EBadPattern {
    std::string message;  // Shift JIS
  };

  // Parses the (already processed) pattern; throws EBadPattern.
  // A NUL byte reads as code 0, the end of the pattern.
  explicit TReferenceMatcher(std::string_view pattern) : m_pattern(pattern.substr(0, pattern.find('\0'))) {
    Next();
    m_root = Alternatives();
    if (m_token != kEnd) Fail("正規表現に余分な文字があります");
    m_hasLHead = HasAnchor(*m_root, true, true, false);
    m_hasLTail = HasAnchor(*m_root, true, true, true);
  }

  bool HasLHead() const { return m_hasLHead; }
  bool HasLTail() const { return m_hasLTail; }

  // The match as the engine chooses it: {start, end} byte offsets, or nullopt.
  std::optional<std::pair<std::size_t, std::size_t>> Match(std::string_view text) const {
    m_text = text.substr(0, text.find('\0'));
    return m_hasLHead || m_hasLTail ? MatchAnchored() : MatchPlain();
  }

 private:
  // ---- scanner ---------------------------------------------------------------
  enum TToken { kChar, kRange, kUnion, kLPar, kRPar, kStar, kPlus, kQMark, kLBra, kLBraNeg, kRBra, kDot, kHead, kTail, kEnd };

  [[noreturn]] void Fail(const char* utf8) const { throw EBadPattern{SjisFromLiteral(utf8)}; }

  // The character at the scan position (1 or 2 bytes), advancing; 0 at the end.
  unsigned Get() {
    if (m_pos >= m_pattern.size()) return 0;
    const unsigned char lead = static_cast<unsigned char>(m_pattern[m_pos]);
    if (IsLeadByte(lead) && m_pos + 1 == m_pattern.size()) Fail("不正な２バイト文字コードです。");
    const std::size_t length = CharLength(m_pattern, m_pos);
    const unsigned code = length == 2 ? lead << 8 | static_cast<unsigned char>(m_pattern[m_pos + 1]) : lead;
    m_pos += length;
    return code;
  }
  unsigned Peek() const {
    if (m_pos >= m_pattern.size()) return 0;
    const std::size_t length = CharLength(m_pattern, m_pos);
    const unsigned char lead = static_cast<unsigned char>(m_pattern[m_pos]);
    return length == 2 ? lead << 8 | static_cast<unsigned char>(m_pattern[m_pos + 1]) : lead;
  }
  bool AtEnd() const { return m_pos >= m_pattern.size(); }

  // After a backslash.
  unsigned Escaped() {
    if (AtEnd()) Fail("\"\\\"の次には文字が必要です。");
    const unsigned c = Get();
    switch (c) {
      case 'b': return 8;
      case 'n': return 10;
      case 'r': return 13;
      case 't': return 9;
      case 'x': {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && !AtEnd() && HexValue(Peek()) >= 0) {
          value = value * 16 + static_cast<unsigned>(HexValue(Get()));
          ++digits;
        }
        if (digits == 0) Fail("不正な１６進数コード表記です。");
        return value;
      }
      default:
        if (c >= '0' && c <= '7') {
          unsigned value = c - '0';
          for (int digits = 1; digits < 6 && !AtEnd() && Peek() >= '0' && Peek() <= '7'; ++digits) {
            value = value * 8 + (Get() - '0');
          }
          if (value > 65535) Fail("不正な８進数コード表記です。");
          return value;
        }
        return c;
    }
  }
  static int HexValue(unsigned c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
  }

  void Next() { m_token = m_inClass ? InClass() : Outside(); }

  TToken Outside() {
    if (AtEnd()) return kEnd;
    const unsigned c = Get();
    switch (c) {
      case '$': return kTail;
      case '(': return kLPar;
      case ')': return kRPar;
      case '*': return kStar;
      case '+': return kPlus;
      case '.': return kDot;
      case '?': return kQMark;
      case '[':
        if (AtEnd()) Fail("右ブラケット\"]\"が必要です");
        m_inClass = true;
        if (Peek() == '^') {
          Get();
          return kLBraNeg;
        }
        return kLBra;
      case '\\': m_char = Escaped(); return kChar;
      case ']': return kRBra;
      case '^': return kHead;
      case '|': return kUnion;
      default: m_char = c; return kChar;
    }
  }

  TToken InClass() {
    if (AtEnd()) Fail("右ブラケット\"]\"が必要です");
    unsigned c = Get();
    if (c == ']') {
      m_inClass = false;
      return kRBra;
    }
    if (c == '\\') c = Escaped();
    m_char = m_last = c;
    if (Peek() != '-' || AtEnd()) return kChar;
    const std::size_t dash = m_pos;
    Get();
    if (AtEnd()) Fail("右ブラケット\"]\"が必要です");
    if (Peek() == ']') {
      m_pos = dash;  // "c-]": the dash is a member of its own
      return kChar;
    }
    unsigned d = Get();
    if (d == '\\') d = Escaped();
    if (d < c) Fail("不正なキャラクタ範囲です");
    m_last = d;
    return kRange;
  }

  // ---- parser ------------------------------------------------------------------
  enum TKind { kEmptyNode, kSet, kAny, kHeadNode, kTailNode, kConcat, kAlternation, kStarNode, kPlusNode, kOptional };
  struct TNode {
    TKind kind;
    std::vector<std::pair<unsigned, unsigned>> ranges;  // kSet
    bool negated = false;                               // kSet
    std::vector<std::unique_ptr<TNode>> children;
  };
  using TPtr = std::unique_ptr<TNode>;
  static TPtr Make(TKind kind) {
    auto n = std::make_unique<TNode>();
    n->kind = kind;
    return n;
  }

  // Regexp := term { "|" term }
  TPtr Alternatives() {
    TPtr first = Term();
    if (m_token != kUnion) return first;
    TPtr node = Make(kAlternation);
    node->children.push_back(std::move(first));
    while (m_token == kUnion) {
      Next();
      node->children.push_back(Term());
    }
    return node;
  }
  // term := empty before "|", ")" or the end | factor { factor }
  TPtr Term() {
    if (m_token == kUnion || m_token == kRPar || m_token == kEnd) return Make(kEmptyNode);
    TPtr node = Make(kConcat);
    while (m_token != kUnion && m_token != kRPar && m_token != kEnd) node->children.push_back(Factor());
    return node;
  }
  // factor := primary [ "*" | "+" | "?" ]
  TPtr Factor() {
    TPtr primary = Primary();
    const TKind postfix = m_token == kStar ? kStarNode : m_token == kPlus ? kPlusNode : m_token == kQMark ? kOptional
                                                                                                       : kEmptyNode;
    if (postfix == kEmptyNode) return primary;
    Next();
    TPtr node = Make(postfix);
    node->children.push_back(std::move(primary));
    return node;
  }
  // primary := char | "(" Regexp ")" | "[" class "]" | "[^" class "]" | "." | "^" | "$"
  TPtr Primary() {
    TPtr node;
    switch (m_token) {
      case kChar:
        node = Make(kSet);
        node->ranges.push_back({m_char, m_char});
        break;
      case kLPar:
        Next();
        node = Alternatives();
        if (m_token != kRPar) Fail("右(閉じ)括弧が必要です");
        break;
      case kLBra:
      case kLBraNeg:
        node = Make(kSet);
        node->negated = m_token == kLBraNeg;
        Next();
        if (m_token == kRBra) Fail("不正なキャラクタクラス指定です。");
        while (m_token != kRBra) {
          node->ranges.push_back({m_char, m_token == kRange ? m_last : m_char});
          Next();
        }
        break;
      case kDot: node = Make(kAny); break;
      case kHead: node = Make(kHeadNode); break;
      case kTail: node = Make(kTailNode); break;
      default: Fail("普通の文字、または左括弧\"(\"が必要です");
    }
    Next();
    return node;
  }

  // Whether an anchoring "^" (tail false) or "$" (tail true) is in `n` when
  // it stands at the start (`first`) and at the end (`last`) of the pattern.
  static bool HasAnchor(const TNode& n, bool first, bool last, bool tail) {
    switch (n.kind) {
      case kHeadNode: return !tail && first;
      case kTailNode: return tail && last;
      case kConcat: {
        for (std::size_t i = 0; i < n.children.size(); ++i) {
          if (HasAnchor(*n.children[i], first && i == 0, last && i + 1 == n.children.size(), tail)) return true;
        }
        return false;
      }
      case kAlternation:
        for (const TPtr& c : n.children) {
          if (HasAnchor(*c, first, last, tail)) return true;
        }
        return false;
      case kOptional: return HasAnchor(*n.children[0], first, last, tail);
      case kPlusNode: return HasAnchor(*n.children[0], first, false, tail);
      default: return false;
    }
  }

  // ---- matching ----------------------------------------------------------------
  // A path's position and whether it has taken an anchoring "^".
  using TEnds = std::set<std::pair<std::size_t, bool>>;
  enum THeadMode { kNoHead, kAfterHead };
  struct TWalk {
    explicit TWalk(THeadMode m, std::size_t start) : mode(m), furthest(start) {}
    THeadMode mode;
    std::size_t furthest;         // where the furthest path stands
    std::set<std::size_t> tails;  // positions where a path stands at an anchoring "$"
  };

  unsigned CodeAt(std::size_t p) const {
    const unsigned char lead = static_cast<unsigned char>(m_text[p]);
    return CharLength(m_text, p) == 2 ? lead << 8 | static_cast<unsigned char>(m_text[p + 1]) : lead;
  }
  static bool Matches(const TNode& n, unsigned code) {
    const bool any = code >= 1 && code <= 0xFCFC && code != 10 && code != 13;
    if (n.kind == kAny) return any;
    bool member = false;
    for (const auto& [lo, hi] : n.ranges) member = member || (lo <= code && code <= hi);
    return n.negated ? any && !member : member;
  }

  // Where paths through `n` from the positions `from` end.
  TEnds Ends(const TNode& n, const TEnds& from, bool first, bool last, TWalk& walk) const {
    TEnds out;
    switch (n.kind) {
      case kEmptyNode: return from;
      case kSet:
      case kAny:
        for (const auto& [p, took] : from) {
          if (p < m_text.size() && (walk.mode == kNoHead || took) && Matches(n, CodeAt(p))) {
            const std::size_t q = p + CharLength(m_text, p);
            walk.furthest = std::max(walk.furthest, q);
            out.insert({q, took});
          }
        }
        return out;
      case kHeadNode:
      case kTailNode: {
        const bool head = n.kind == kHeadNode;
        if (head ? !first : !last) {  // the character itself
          const unsigned c = head ? '^' : '$';
          TNode literal{kSet, {{c, c}}, false, {}};
          return Ends(literal, from, first, last, walk);
        }
        for (const auto& [p, took] : from) {
          if (head && walk.mode == kAfterHead && !took) out.insert({p, true});
          if (!head && (walk.mode == kNoHead || took)) walk.tails.insert(p);
        }
        return out;
      }
      case kConcat: {
        TEnds at = from;
        for (std::size_t i = 0; i < n.children.size(); ++i) {
          at = Ends(*n.children[i], at, first && i == 0, last && i + 1 == n.children.size(), walk);
        }
        return at;
      }
      case kAlternation:
        for (const TPtr& c : n.children) {
          const TEnds e = Ends(*c, from, first, last, walk);
          out.insert(e.begin(), e.end());
        }
        return out;
      case kOptional:
        out = Ends(*n.children[0], from, first, last, walk);
        out.insert(from.begin(), from.end());
        return out;
      case kStarNode:
      case kPlusNode: {
        // X+ is X then X*; only the first copy of X+ stands at the start.
        TEnds all = n.kind == kStarNode ? from : TEnds();
        TEnds frontier = n.kind == kStarNode ? from : Ends(*n.children[0], from, first, false, walk);
        all.insert(frontier.begin(), frontier.end());
        while (!frontier.empty()) {
          TEnds next;
          for (const auto& e : Ends(*n.children[0], frontier, false, false, walk)) {
            if (all.insert(e).second) next.insert(e);
          }
          frontier = std::move(next);
        }
        return all;
      }
    }
    return out;
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  // The walk from `p`: the longest accepting end before the walk stops, or
  // the stop position itself when it is the end of the line (a CR or the end
  // of the text) and a path there stands at an anchoring "$".
  std::size_t Inside(std::size_t p, THeadMode mode) const {
    TWalk walk(mode, p);
    const TEnds ends = Ends(*m_root, TEnds{{p, false}}, true, true, walk);
    std::size_t recorded = kNone;
    for (const auto& [q, took] : ends) {
      if ((mode == kNoHead || took) && (recorded == kNone || q > recorded)) recorded = q;
    }
    const std::size_t stop = walk.furthest;
    const bool lineEnd = stop == m_text.size() || m_text[stop] == '\r';
    return lineEnd && walk.tails.count(stop) ? stop : recorded;
  }
  std::size_t Head(std::size_t p) const {
    if (!m_hasLHead) return Inside(p, kNoHead);
    const std::size_t anchored = Inside(p, kAfterHead);
    if (anchored == kNone) return kNone;
    const std::size_t plain = Inside(p, kNoHead);
    return plain != kNone && plain >= anchored ? plain : anchored;
  }

  std::optional<std::pair<std::size_t, std::size_t>> MatchPlain() const {
    for (std::size_t p = 0; p < m_text.size(); p += CharLength(m_text, p)) {
      const std::size_t end = Inside(p, kNoHead);
      if (end != kNone) return std::make_pair(p, end);
    }
    if (m_text.empty() && Inside(0, kNoHead) == 0) return std::make_pair(std::size_t{0}, std::size_t{0});
    return std::nullopt;
  }
  std::optional<std::pair<std::size_t, std::size_t>> MatchAnchored() const {
    std::size_t end = Head(0);
    if (end != kNone) return std::make_pair(std::size_t{0}, end);
    for (std::size_t p = 0; p < m_text.size(); p += CharLength(m_text, p)) {
      end = Inside(p, kNoHead);
      if (end != kNone) return std::make_pair(p, end);
      if (m_text[p] == '\n' && m_hasLHead) {
        end = Head(p + 1);
        if (end != kNone) return std::make_pair(p + 1, end);
      }
    }
    // After the last character: the empty match at the end when "$" can
    // come first; and at an empty text's line head the unanchored paths too.
    TWalk walk(kNoHead, m_text.size());
    const TEnds empty{{m_text.size(), false}};
    const TEnds ends = Ends(*m_root, empty, true, true, walk);
    if (m_hasLTail && walk.tails.count(m_text.size())) return std::make_pair(m_text.size(), m_text.size());
    if (m_text.empty() && m_hasLHead && ends.count({0, false})) return std::make_pair(std::size_t{0}, std::size_t{0});
    return std::nullopt;
  }

  std::string_view m_pattern;
  std::size_t m_pos = 0;
  bool m_inClass = false;
  TToken m_token = kEnd;
  unsigned m_char = 0, m_last = 0;
  TPtr m_root;
  bool m_hasLHead = false;
  bool m_hasLTail = false;
  mutable std::string_view m_text;
};

}  // namespace nuv::test
