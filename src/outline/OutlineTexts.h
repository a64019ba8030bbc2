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
NUV_FIXED_TEXT(AskTextSaveChanges,
               "ページ「%s」など %d ページは、階層テキストに保存すると読み込み時に内容が変わります"
               "（「.」や「##nuv##,」で始まる行、前後に空白のあるタイトル、250 バイトを超えるタイトル）。\r\n"
               "このまま保存しますか？")
NUV_FIXED_TEXT(TooLargeForBinary,
               "文書が大きすぎて .pk2 ファイルに保存できません（ツリー部分と各ページの本文はそれぞれ 2 GB までです）。")
NUV_FIXED_TEXT(TooLargeForText,
               "文書の階層が深すぎて階層テキストに保存できません（見出しの「.」は合わせて 2 GB までです）。")

}  // namespace nuv::texts
