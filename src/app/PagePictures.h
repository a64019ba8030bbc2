// The 19 page pictures (marks, labels, the direct-link overlay, the trash),
// drawn by the program itself, and the composed icons the tree shows.
#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <vector>

namespace nuv {

class TPagePictures {
 public:
  TPagePictures();
  // Picture 0..18; an index outside the list gives an empty pixmap.
  const QPixmap& Picture(int index) const;
  QIcon Icon(int index) const { return QIcon(Picture(index)); }
  // What the tree draws for a page: the label picture (when stateIndex is a
  // picture) beside the mark picture, with the overlay on the mark when
  // overlayIndex is 0; greyed for a page cut to the clipboard.
  QPixmap PagePixmap(int imageIndex, int stateIndex, int overlayIndex, bool cut) const;

 private:
  std::vector<QPixmap> m_pictures;
  mutable QHash<quint32, QPixmap> m_composed;
};

}  // namespace nuv
