// Fixed Shift JIS texts of the window's commands.
#pragma once

#include <cstdio>

#include "base/FixedText.h"

namespace nuv::texts {

NUV_FIXED_TEXT(AskSaveChanged, "ファイルが変更されています。保存しますか？")
NUV_FIXED_TEXT(AskOverwrite, "ファイルが存在します。上書きしますか？")
NUV_FIXED_TEXT(ModifiedPanel, "変更")
NUV_FIXED_TEXT(CannotEncode, "Shift JIS で表せない文字は入力できません。")
NUV_FIXED_TEXT(CannotPasteHead, "貼り付ける文字列に Shift JIS で表せない文字 (")
NUV_FIXED_TEXT(CannotPasteTail, ") があるため、貼り付けられません。")

// The refusal of a paste names the first character that has no code.
inline std::string CannotPaste(char32_t codePoint) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
  return CannotPasteHead() + code + CannotPasteTail();
}
NUV_FIXED_TEXT(DamagedNodeBlock, "クリップボードのページのデータが壊れているため、貼り付けませんでした")
NUV_FIXED_TEXT(NodeBlockTooLarge, "ページが大きすぎてコピーできません（2 GB までです）")

}  // namespace nuv::texts
