// Change-notifying option objects: update counts collapse notifications to
// the outermost EndUpdate.
#include "base/NotifyPersistent.h"

#include <algorithm>

namespace nuv {

void TNotifyPersistent::EndUpdate() {
  if (m_updateCount > 0) --m_updateCount;
  Changed();
}

void TNotifyPersistent::Changed() {
  if (m_updateCount == 0 && OnChange) OnChange(*this);
}

void TMethodList::Add(const void* listener, TMethod method) {
  for (TItem& item : m_items) {
    if (item.listener == listener) {
      item.method = std::move(method);
      return;
    }
  }
  m_items.push_back({listener, std::move(method)});
}

void TMethodList::Remove(const void* listener) {
  m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                               [listener](const TItem& item) { return item.listener == listener; }),
                m_items.end());
}

bool TMethodList::Contains(const void* listener) const {
  return std::any_of(m_items.begin(), m_items.end(),
                     [listener](const TItem& item) { return item.listener == listener; });
}

void TMethodList::CallAll(const void* sender) const {
  // A copy, because a listener may unregister itself (or others) while called.
  const std::vector<TItem> items = m_items;
  for (const TItem& item : items) {
    if (item.method && Contains(item.listener)) item.method(sender);
  }
}

void TNotifyEventList::EndUpdate() {
  if (m_updateCount > 0) --m_updateCount;
  Changed();
}

void TNotifyEventList::Changed() {
  if (m_updateCount == 0) m_methods.CallAll(m_owner);
}

TNotifyPersistent& TNotifyCollection::Add(std::unique_ptr<TNotifyPersistent> item) {
  item->OnChange = [this](TNotifyPersistent&) { Changed(); };
  m_items.push_back(std::move(item));
  Changed();
  return *m_items.back();
}

void TNotifyCollection::Delete(std::size_t index) {
  if (index >= m_items.size()) return;
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
  Changed();
}

void TNotifyCollection::Clear() {
  if (m_items.empty()) return;
  m_items.clear();
  Changed();
}

void TNotifyCollection::EndUpdate() {
  if (m_updateCount > 0) --m_updateCount;
  Changed();
}

void TNotifyCollection::Changed() {
  if (m_updateCount == 0 && m_onChange) m_onChange();
}

}  // namespace nuv
