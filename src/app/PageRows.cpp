// Rows of the page lists.
#include "app/PageRows.h"

#include <QTreeWidget>

#include "app/PagePictures.h"
#include "app/QtText.h"
#include "outline/OutlineTree.h"

namespace nuv {

QTreeWidgetItem* AddPageRow(QTreeWidget* list, const TTreeNode* page, const TPagePictures& pictures) {
  auto* item = new QTreeWidgetItem(list, {ToQString(page->Text())});
  item->setIcon(0, QIcon(pictures.PagePixmap(page->ImageIndex(), page->StateIndex(), page->OverlayIndex(), false)));
  item->setData(0, Qt::UserRole, static_cast<qulonglong>(page->Id()));
  return item;
}

}  // namespace nuv
