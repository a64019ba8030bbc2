// Fixed Shift JIS texts of the window's commands.
#pragma once

#include "base/FixedText.h"

namespace nuv::texts {

NUV_FIXED_TEXT(AskSaveChanged, "ファイルが変更されています。保存しますか？")
NUV_FIXED_TEXT(AskOverwrite, "ファイルが存在します。上書きしますか？")
NUV_FIXED_TEXT(ModifiedPanel, "変更")
NUV_FIXED_TEXT(CannotEncode, "Shift JIS で表せない文字は入力できません。")
NUV_FIXED_TEXT(DamagedNodeBlock, "クリップボードのページのデータが壊れているため、貼り付けませんでした")
NUV_FIXED_TEXT(NodeBlockTooLarge, "ページが大きすぎてコピーできません（2 GB までです）")

}  // namespace nuv::texts
