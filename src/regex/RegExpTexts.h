// The regular-expression engine's fixed messages, as the user sees them.
#pragma once

#include "base/FixedText.h"

namespace nuv::retext {

NUV_FIXED_TEXT(BadDoubleByte, "不正な２バイト文字コードです。")
NUV_FIXED_TEXT(NeedCharAfterBackslash, "\"\\\"の次には文字が必要です。")
NUV_FIXED_TEXT(BadHexCode, "不正な１６進数コード表記です。")
NUV_FIXED_TEXT(BadOctalCode, "不正な８進数コード表記です。")
NUV_FIXED_TEXT(NeedRightBracket, "右ブラケット\"]\"が必要です")
NUV_FIXED_TEXT(BadCharRange, "不正なキャラクタ範囲です")
NUV_FIXED_TEXT(BadCharClass, "不正なキャラクタクラス指定です。")
NUV_FIXED_TEXT(NeedRightParen, "右(閉じ)括弧が必要です")
NUV_FIXED_TEXT(NeedCharOrLeftParen, "普通の文字、または左括弧\"(\"が必要です")
NUV_FIXED_TEXT(ExtraChars, "正規表現に余分な文字があります")
NUV_FIXED_TEXT(TreeFatal, "TREParseTree : 致命的エラー")
NUV_FIXED_TEXT(NfaCannotHappen, "This cannot happen in TRE_NFA.GenerateStateList")
// Limits of the engine.
NUV_FIXED_TEXT(PatternTooLong, "正規表現が長すぎます。")
NUV_FIXED_TEXT(NestingTooDeep, "正規表現の括弧の入れ子が深すぎます。")
NUV_FIXED_TEXT(PatternTooComplex, "正規表現が複雑すぎます。")

}  // namespace nuv::retext
