// The Qt item model over the core's outline tree: the tree stays the one
// owner of structure and order; the model only translates its notifications.
#pragma once

#include <QAbstractItemModel>
#include <QStyledItemDelegate>

#include "outline/OutlineTree.h"

namespace nuv {

class TPagePictures;

class TOutlineModel : public QAbstractItemModel, public ITreeObserver {
  Q_OBJECT
 public:
  TOutlineModel(TOutlineTree& tree, const TPagePictures& pictures, QObject* parent = nullptr);
  ~TOutlineModel() override;

  TOutlineTree& Tree() const { return m_tree; }
  TTreeNode* NodeOf(const QModelIndex& index) const;
  QModelIndex IndexOf(const TTreeNode* node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // An in-place title edit: the window decides what becomes of the title.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::DropActions supportedDropActions() const override;
  QStringList mimeTypes() const override;

  // ITreeObserver
  void BeginInsert(TTreeNode* parent, int first, int last) override;
  void EndInsert() override;
  void BeginRemove(TTreeNode* parent, int first, int last) override;
  void EndRemove() override;
  void BeginMove(TTreeNode* fromParent, int row, TTreeNode* toParent, int toRow) override;
  void EndMove() override;
  void BeginLayoutChange() override;
  void EndLayoutChange() override;
  void BeginReset() override;
  void EndReset() override;
  void NodeChanged(TTreeNode* node) override;
  void ExpansionChanged(TTreeNode* node) override;

 signals:
  // The tree was rebuilt: the view must take expansion and selection again.
  void ResetDone();
  void ExpansionRequested(const QModelIndex& index, bool expanded);
  // A page and its subtree left the tree (delete, clear).
  void PagesRemoved();
  void TitleEdited(TTreeNode* page, const QString& title);

 private:
  TOutlineTree& m_tree;
  const TPagePictures& m_pictures;
  QModelIndexList m_layoutBefore;
  std::vector<TTreeNode*> m_layoutNodes;
};

// Draws each page's composed pictures at their own width.
class TOutlineDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace nuv
