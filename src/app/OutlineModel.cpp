// The outline model.
#include "app/OutlineModel.h"

#include <QPalette>

#include "app/PagePictures.h"
#include "app/QtText.h"

namespace nuv {

TOutlineModel::TOutlineModel(TOutlineTree& tree, const TPagePictures& pictures, QObject* parent)
    : QAbstractItemModel(parent), m_tree(tree), m_pictures(pictures) {
  m_tree.SetObserver(this);
}

TOutlineModel::~TOutlineModel() { m_tree.SetObserver(nullptr); }

TTreeNode* TOutlineModel::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TOutlineModel::IndexOf(const TTreeNode* node) const {
  return node ? createIndex(node->Index(), 0, const_cast<TTreeNode*>(node)) : QModelIndex();
}

QModelIndex TOutlineModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return QModelIndex();
  const TTreeNode* p = NodeOf(parent);
  TTreeNode* child = p ? p->Item(row) : m_tree.RootPage(row);
  return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex TOutlineModel::parent(const QModelIndex& child) const {
  const TTreeNode* node = NodeOf(child);
  return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TOutlineModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const TTreeNode* p = NodeOf(parent);
  return p ? p->Count() : m_tree.RootCount();
}

int TOutlineModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TOutlineModel::data(const QModelIndex& index, int role) const {
  const TTreeNode* node = NodeOf(index);
  if (!node) return QVariant();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return ToQString(node->Text());
    case Qt::DecorationRole:
      return m_pictures.PagePixmap(node->ImageIndex(), node->StateIndex(), node->OverlayIndex(), node->Cut());
    case Qt::ForegroundRole:
      if (node->Cut()) return QPalette().brush(QPalette::Disabled, QPalette::Text);
      return QVariant();
    default:
      return QVariant();
  }
}

Qt::ItemFlags TOutlineModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
}

bool TOutlineModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  TTreeNode* node = NodeOf(index);
  if (!node || role != Qt::EditRole) return false;
  emit TitleEdited(node, value.toString());
  return true;
}

Qt::DropActions TOutlineModel::supportedDropActions() const {
  return Qt::MoveAction | Qt::LinkAction | Qt::CopyAction;
}

QStringList TOutlineModel::mimeTypes() const { return {QStringLiteral("application/x-nuv-page-drag")}; }

void TOutlineModel::BeginInsert(TTreeNode* parent, int first, int last) {
  beginInsertRows(IndexOf(parent), first, last);
}

void TOutlineModel::EndInsert() { endInsertRows(); }

void TOutlineModel::BeginRemove(TTreeNode* parent, int first, int last) {
  beginRemoveRows(IndexOf(parent), first, last);
}

void TOutlineModel::EndRemove() {
  endRemoveRows();
  emit PagesRemoved();
}

void TOutlineModel::BeginMove(TTreeNode* fromParent, int row, TTreeNode* toParent, int toRow) {
  beginMoveRows(IndexOf(fromParent), row, row, IndexOf(toParent), toRow);
}

void TOutlineModel::EndMove() { endMoveRows(); }

void TOutlineModel::BeginLayoutChange() {
  emit layoutAboutToBeChanged();
  m_layoutBefore = persistentIndexList();
  m_layoutNodes.clear();
  for (const QModelIndex& i : m_layoutBefore) m_layoutNodes.push_back(NodeOf(i));
}

void TOutlineModel::EndLayoutChange() {
  // Persistent indexes point at pages, whose rows the reorder changed.
  QModelIndexList after;
  for (TTreeNode* node : m_layoutNodes) after.append(IndexOf(node));
  changePersistentIndexList(m_layoutBefore, after);
  m_layoutBefore.clear();
  m_layoutNodes.clear();
  emit layoutChanged();
}

void TOutlineModel::BeginReset() { beginResetModel(); }

void TOutlineModel::EndReset() {
  endResetModel();
  emit ResetDone();
}

void TOutlineModel::NodeChanged(TTreeNode* node) {
  const QModelIndex i = IndexOf(node);
  emit dataChanged(i, i);
}

void TOutlineModel::ExpansionChanged(TTreeNode* node) { emit ExpansionRequested(IndexOf(node), node->Expanded()); }

void TOutlineDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QVariant decoration = index.data(Qt::DecorationRole);
  if (decoration.canConvert<QPixmap>()) {
    const QPixmap pixmap = decoration.value<QPixmap>();
    option->icon = QIcon(pixmap);
    option->decorationSize = pixmap.size();
  }
}

}  // namespace nuv
