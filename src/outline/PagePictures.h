// Numbers of the 19 page pictures shared by the tree and the lists.
#pragma once

namespace nuv::pic {

constexpr int kNotStarted = 0;
constexpr int kWorking = 1;
constexpr int kDone = 2;
constexpr int kPending = 3;
constexpr int kCancelled = 4;
constexpr int kMemo = 5;          // the mark of a new page
constexpr int kFolder = 6;
constexpr int kLastMark = 6;
constexpr int kLabel1 = 7;        // labels 1 to 8 are pictures 7 to 14
constexpr int kLabel8 = 14;
constexpr int kBlankLabel = 15;   // drawn instead of label 1 under ClearLabel1
constexpr int kDirectLink = 16;   // overlay 0
constexpr int kTrashEmpty = 17;
constexpr int kTrashFull = 18;
constexpr int kCount = 19;

constexpr bool IsMark(int index) { return index >= kNotStarted && index <= kLastMark; }
constexpr bool IsTrashMark(int index) { return index == kTrashEmpty || index == kTrashFull; }
constexpr bool IsLabelPicture(int index) { return index >= kLabel1 && index <= kBlankLabel; }

}  // namespace nuv::pic
