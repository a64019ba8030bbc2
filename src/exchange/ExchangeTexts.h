// Fixed texts of the page imports and exports.
#pragma once

#include "base/FixedText.h"

namespace nuv::texts {

NUV_FIXED_TEXT(DocReadFailed, "DOCファイルの読み込みに失敗しました。")
NUV_FIXED_TEXT(DocWriteFailed, "DOCファイルの作成に失敗しました。")
NUV_FIXED_TEXT(DocWritten, "Docファイルを作成しました。\n\n　%s")
NUV_FIXED_TEXT(MeDocWriteFailed, "MeDocファイルの作成に失敗しました。")
NUV_FIXED_TEXT(MeDocWritten, "MeDocファイルを作成しました。\n\n　%s")
NUV_FIXED_TEXT(NoChildrenToExport, "１つ下の階層には、項目がありません。")
NUV_FIXED_TEXT(PalmDocTempName, "PalmDocTemp.txt")

}  // namespace nuv::texts
