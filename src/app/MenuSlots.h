// The places where commands appear in the window's menus. Each controller
// adds its own items to the slots it needs, so a new command touches its
// controller and not the main window.
#pragma once

namespace nuv {

enum class TMenuSlot {
  File,           // "ファイル(&F)"
  FileInsert,     // "ファイル(&F)" → "挿入(&I)"
  FileExport,     // "ファイル(&F)" → "エクスポート(&E)"
  Edit,           // "編集(&E)"
  Find,           // "検索(&S)"
  Tree,           // "ツリー(&T)"
  View,           // "表示(&V)"
  Tools,          // "ツール(&L)"
  ExternalTools,  // "ツール(&L)" → "外部ツール(&X)"
  Options,        // "オプション(&O)"
  EditMode,       // "オプション(&O)" → "編集モード(&M)"
  Help,           // "ヘルプ(&H)"
  EditorPopup,    // the page editor's popup menu
  TreePopup,      // the tree's popup menu
  Drop,           // the menu shown when files are dropped on the window
  Count
};

}  // namespace nuv
