// The engine's size limits: patterns, nesting and automata are bounded so that
// a hostile or mistyped pattern gives an error instead of a hang or a crash.
#pragma once

#include <cstddef>

namespace nuv {

// Bytes of a pattern after the fuzzy and synonym rewriting (and of the
// caller's pattern before it).
constexpr std::size_t kMaxPatternLength = 256 * 1024;
// Parentheses and brackets open at once; the parser recurses once per level.
constexpr int kMaxNestingDepth = 1000;
// States of the nondeterministic automaton of one pattern; a step of the
// matcher may visit all of them, so this also bounds the cost per character.
constexpr std::size_t kMaxNfaStates = 100000;
// Transitions of that automaton (a large class repeated by nested "+" makes
// many transitions between few states).
constexpr std::size_t kMaxNfaTransitions = 500000;
// Leaf comparisons while making leaf ranges disjoint and while cutting the
// members out of a negated class (both quadratic in the number of ranges).
constexpr std::size_t kMaxLeafWork = 20000000;
// Memory of the lazily built deterministic states of one pattern; when it is
// full the states are dropped and built again from the text being matched.
// At least kMinDfaStates are kept whatever their size.
constexpr std::size_t kDfaCacheBytes = 4 * 1024 * 1024;
constexpr std::size_t kMinDfaStates = 16;
// Compiled patterns kept by one matcher, the empty pattern included.
constexpr std::size_t kPatternCacheSize = 30;

}  // namespace nuv
