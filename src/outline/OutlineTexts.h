// Fixed texts of the outline core.
#pragma once

#include "base/FixedText.h"

namespace nuv::texts {

NUV_FIXED_TEXT(TrashTitle, "ごみ箱")
NUV_FIXED_TEXT(Untitled, "無題")
NUV_FIXED_TEXT(ListIndexError, "インデックスがリストの範囲を超えています")
NUV_FIXED_TEXT(ReadError, "ファイルの読込時にエラーが発生しました。")
NUV_FIXED_TEXT(WriteError, "ファイルの書込時にエラーが発生しました。")
NUV_FIXED_TEXT(FileSaved, "ファイルを保存しました")

}  // namespace nuv::texts
