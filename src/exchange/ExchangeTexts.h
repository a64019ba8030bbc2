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
NUV_FIXED_TEXT(AskSubstitute, "%d 行目に Shift JIS で表せない文字があります。「〓」に置き換えて読み込みますか？")
NUV_FIXED_TEXT(NotOpml, "OPML ファイルとして読めません。（%d 行目）")
NUV_FIXED_TEXT(ControlBytesLeftOut, "XML で表せない制御文字を省いて保存しました。\n\n最初のページ：%s")

}  // namespace nuv::texts
