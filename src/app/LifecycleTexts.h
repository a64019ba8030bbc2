// Fixed texts of the document commands.
#pragma once

#include "base/FixedText.h"

namespace nuv::texts {

NUV_FIXED_TEXT(AskSaveCurrent, "現在のファイルを保存しますか？")
NUV_FIXED_TEXT(FileNotFound, "ファイルが見つかりません。")
NUV_FIXED_TEXT(BackupFailed, "バックアップファイルの作成に失敗しました。")
NUV_FIXED_TEXT(AskRecover,
               "%s\n\n保存されていない変更を残したまま nuv が終了していました。\n"
               "復元用のコピーを開きますか？（「いいえ」を選ぶとコピーは削除されます）")
NUV_FIXED_TEXT(RecoveryWriteFailed, "復元用のコピーを書き込めませんでした: ")
NUV_FIXED_TEXT(AlreadyOpen, "ファイルは既に開かれています。どうしますか？")

}  // namespace nuv::texts
