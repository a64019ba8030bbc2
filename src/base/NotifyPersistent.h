// Change-notifying option objects shared by the editor and the fountains: a
// persistent object with one change callback and an update count, a list of
// (listener, callback) pairs for one-to-many notification, and a collection
// whose item changes reach one owner callback.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace nuv {

class TNotifyPersistent;

// Callback of a single owner; the sender is the object that changed.
using TNotifyEvent = std::function<void(TNotifyPersistent& sender)>;

// Base of the small option objects (caret, margins, wrap options, colours).
// Setters of derived classes store the value and call Changed() only when it
// really differs; Changed() fires OnChange unless an update is open, and the
// outermost EndUpdate() fires it once.
class TNotifyPersistent {
 public:
  TNotifyPersistent() = default;
  virtual ~TNotifyPersistent() = default;
  // Copying copies the values, never the owner's callback.
  TNotifyPersistent(const TNotifyPersistent&) {}
  TNotifyPersistent& operator=(const TNotifyPersistent&) { return *this; }

  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();
  void Changed();
  int UpdateCount() const { return m_updateCount; }

  TNotifyEvent OnChange;

 private:
  int m_updateCount = 0;
};

// A list of callbacks keyed by the listener that registered them, so a
// listener can remove exactly its own entry.
class TMethodList {
 public:
  using TMethod = std::function<void(const void* sender)>;

  // Registers (or replaces) the callback of `listener`.
  void Add(const void* listener, TMethod method);
  void Remove(const void* listener);
  bool Contains(const void* listener) const;
  std::size_t Count() const { return m_items.size(); }
  // Calls every callback; a callback may add or remove listeners meanwhile.
  void CallAll(const void* sender) const;

 private:
  struct TItem {
    const void* listener;
    TMethod method;
  };
  std::vector<TItem> m_items;
};

// The one-to-many change list of a persistent owner (a fountain tells every
// editor that shows it to repaint).
class TNotifyEventList {
 public:
  explicit TNotifyEventList(const void* owner) : m_owner(owner) {}
  void Add(const void* listener, TMethodList::TMethod method) { m_methods.Add(listener, std::move(method)); }
  void Remove(const void* listener) { m_methods.Remove(listener); }
  std::size_t Count() const { return m_methods.Count(); }

  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();
  // Calls every listener with the owner as sender, unless an update is open.
  void Changed();

 private:
  const void* m_owner;
  TMethodList m_methods;
  int m_updateCount = 0;
};

// A collection that owns its items; a change of any item, an addition or a
// removal calls the owner's one callback (unless an update is open).
class TNotifyCollection {
 public:
  using TChange = std::function<void()>;

  explicit TNotifyCollection(TChange onChange = {}) : m_onChange(std::move(onChange)) {}
  virtual ~TNotifyCollection() = default;
  TNotifyCollection(const TNotifyCollection&) = delete;
  TNotifyCollection& operator=(const TNotifyCollection&) = delete;

  std::size_t Count() const { return m_items.size(); }
  TNotifyPersistent& Item(std::size_t index) const { return *m_items.at(index); }
  // Takes ownership and wires the item's change callback to the collection.
  TNotifyPersistent& Add(std::unique_ptr<TNotifyPersistent> item);
  void Delete(std::size_t index);
  void Clear();

  void BeginUpdate() { ++m_updateCount; }
  void EndUpdate();
  void Changed();
  void SetOnChange(TChange onChange) { m_onChange = std::move(onChange); }

 private:
  std::vector<std::unique_ptr<TNotifyPersistent>> m_items;
  TChange m_onChange;
  int m_updateCount = 0;
};

}  // namespace nuv
