// Rules of the trash page and of page pictures read from files.
#pragma once

#include <string_view>

namespace nuv {

class TTreeNode;
class TOutlineTree;
struct TFormatOptions;

// A root page titled "ごみ箱" whose mark is 17 or 18.
bool IsTrashPage(const TTreeNode* node);
// The first root page, in order, whose mark is 17 or 18.
TTreeNode* FindTrashPage(const TOutlineTree& tree);
// Whether the page lies under the trash page (the trash page itself included).
bool IsInTrash(const TTreeNode* node);
// Sets the trash page's picture from its real child count (17 empty, 18 not).
void UpdateTrashPicture(TOutlineTree& tree, TTreeNode* trash);

// A mark read from a file, made safe to index a picture: 0 to 6 as they are,
// 17 and 18 only for a root page titled "ごみ箱", anything else 0.
int SanitizeMark(int mark, bool isRoot, std::string_view title);
// A label picture read from a file: 7 to 15 as they are, anything else none (-1).
int SanitizeStateIndex(int stateIndex);
// The label half a record keeps for a label picture (15 is label 1, none is 0).
int LabelFromStateIndex(int stateIndex);
// The label picture shown for a record's label half under the label settings.
int StateIndexForLabel(int label, const TFormatOptions& options);

}  // namespace nuv
