// The macro interpreter's and the macro host's fixed texts (Shift JIS on use).
#pragma once

#include <string>
#include <string_view>

#include "base/FixedText.h"

namespace nuv {

// Interpreter errors; "%s" is replaced by the offending token or word.
NUV_FIXED_TEXT(TextPPSyntaxError, "文法エラーです[%s]")
NUV_FIXED_TEXT(TextPPVarTypeError, "変数の型が違います[%s]")
NUV_FIXED_TEXT(TextPPFuncTypeError, "関数の戻り値の型が違います[%s]")
NUV_FIXED_TEXT(TextPPUndefined, "変数または関数は定義されていません[%s]")
NUV_FIXED_TEXT(TextPPNoRightParen, "右括弧がありません")
NUV_FIXED_TEXT(TextPPReadOnly, "読取専用オブジェクトには代入できません[%s]")
NUV_FIXED_TEXT(TextPPBadExpression, "式が不正です[%s]")
NUV_FIXED_TEXT(TextPPNoEnd, "endがありません[%s]")
NUV_FIXED_TEXT(TextPPNoOf, "ofがありません[%s]")
NUV_FIXED_TEXT(TextPPNoBuiltInFunction, "未宣言の組み込み関数です[%s]")
NUV_FIXED_TEXT(TextPPNoBuiltInProcedure, "未宣言の組み込み手続きです[%s]")
NUV_FIXED_TEXT(TextPPDuplicateVariable, "変数/定数名の重複定義[%s]")
NUV_FIXED_TEXT(TextPPDuplicateParameter, "仮引数名の重複定義[%s]")
NUV_FIXED_TEXT(TextPPDuplicateRoutine, "手続き/関数の重複宣言[%s]")
NUV_FIXED_TEXT(TextPPBadDeclaration, "定義エラーです")
NUV_FIXED_TEXT(TextPPAborted, "実行を中断しました")

// Arithmetic faults and the string cap: the platform's errors, in our words.
NUV_FIXED_TEXT(TextPPIntDivByZero, "整数を 0 で除算しました")
NUV_FIXED_TEXT(TextPPRealDivByZero, "実数を 0 で除算しました")
NUV_FIXED_TEXT(TextPPInvalidFloat, "不正な浮動小数点演算です")
NUV_FIXED_TEXT(TextPPFloatOverflow, "浮動小数点数のオーバーフローです")
NUV_FIXED_TEXT(TextPPStringTooLong, "文字列が長すぎます")

// The macro host.
NUV_FIXED_TEXT(TextMacroErrorBox, "マクロの実行でエラーが発生しました\n\n  エラーコード:%d\n  エラー内容:%s")
NUV_FIXED_TEXT(TextMacroCaption, "マクロの実行")
NUV_FIXED_TEXT(TextMacroPrompt, "マクロ名")
NUV_FIXED_TEXT(TextMacroMissingFile, "マクロファイルが存在しません。\n\n  %s")
NUV_FIXED_TEXT(TextMacroPauseCaption, "変数の入力")
NUV_FIXED_TEXT(TextMacroPausePrompt, "再開：!、強制終了：!exit")
NUV_FIXED_TEXT(TextMacroLookupFailed, "取得失敗　　")
NUV_FIXED_TEXT(TextMacroWriteFailed, "ファイルを書き込めません[%s]")
NUV_FIXED_TEXT(TextMacroCommandCaption, "マクロの実行(&M)...")

// `templ` with its first "%s" replaced by `arg`. User text never becomes a format.
std::string MacroMessage(const std::string& templ, std::string_view arg);

}  // namespace nuv
