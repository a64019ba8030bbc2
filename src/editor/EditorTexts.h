// Fixed texts of the editor core: the captions of its popup menu.
#pragma once

#include "base/FixedText.h"

namespace nuv::texts {

NUV_FIXED_TEXT(EditorUndo, "元に戻す(&U)")
NUV_FIXED_TEXT(EditorRedo, "やり直し(&R)")
NUV_FIXED_TEXT(EditorCut, "切り取り(&T)")
NUV_FIXED_TEXT(EditorCopy, "コピー(&C)")
NUV_FIXED_TEXT(EditorPaste, "貼り付け(&P)")
NUV_FIXED_TEXT(EditorBoxPaste, "Box貼り付け(&B)")
NUV_FIXED_TEXT(EditorDelete, "削除(&D)")
NUV_FIXED_TEXT(EditorSelectAll, "すべて選択(&A)")
NUV_FIXED_TEXT(EditorBoxMode, "Box選択モード(&K)")
NUV_FIXED_TEXT(EditorMarkSet, "マーク設定")
NUV_FIXED_TEXT(EditorMarkJump, "マークジャンプ")

}  // namespace nuv::texts
