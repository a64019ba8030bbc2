// A row of the children list or the result list: a page's title with its pictures.
#pragma once

class QTreeWidget;
class QTreeWidgetItem;

namespace nuv {

class TPagePictures;
class TTreeNode;

// Appends a row that shows the page and refers to it by id (Qt::UserRole).
QTreeWidgetItem* AddPageRow(QTreeWidget* list, const TTreeNode* page, const TPagePictures& pictures);

}  // namespace nuv
