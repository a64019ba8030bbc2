#!/usr/bin/env bash
# nuvtool match end to end: positions per Shift JIS line, fuzzy matching, and
# a bad pattern's message in UTF-8 with a failing exit code.
set -euo pipefail
tool=$1
fail() { echo "nuvtool-match: $*" >&2; exit 1; }

out=$(printf 'baa\nxabcde\r\n\nab\n' | "$tool" match 'ab|abcd')
[ "$out" = $'0 0\n2 4\n0 0\n1 2' ] || fail "plain: got [$out]"

# "ア" in Shift JIS, fuzzy against hiragana and half-width katakana lines.
out=$(printf 'x\x82\xa0\n\xb1\nz\n' | "$tool" match $'\x83\x41' --fuzzy)
[ "$out" = $'2 2\n1 1\n0 0' ] || fail "fuzzy: got [$out]"

if err=$("$tool" match 'a**' </dev/null 2>&1); then fail "a bad pattern succeeded"; fi
case "$err" in *'普通の文字、または左括弧"("が必要です'*) ;; *) fail "message: got [$err]" ;; esac
echo "nuvtool match: ok"
