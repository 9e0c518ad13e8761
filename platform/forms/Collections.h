// Collections: items with an ID counted per collection (never
// reused), bounds-checked access, copying between collections. No window handles here.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"

// An index outside a list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  // Joins `collection` (when given), which then owns the item and gives it the next ID.
  explicit TCollectionItem(TCollection* collection);
  // Leaves its collection.
  ~TCollectionItem() override;

  TCollection* Collection() const noexcept { return collection_; }
  int ID() const noexcept { return id_; }
  // The item's place in its collection, -1 without one.
  int Index() const;
  virtual std::string GetDisplayName() const { return ClassName(); }

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
 public:
  // Makes one new item of the collection's item class inside the given collection.
  using TItemFactory = std::function<TCollectionItem*(TCollection*)>;

  explicit TCollection(TItemFactory factory);
  ~TCollection() override;

  TCollectionItem* Add();
  std::size_t Count() const noexcept { return items_.size(); }
  // Raises EListError for an index outside 0..Count-1.
  TCollectionItem* Items(int index) const;
  void Delete(int index);
  void Clear();
  int IndexOf(const TCollectionItem* item) const;
  int NextID() const noexcept { return nextId_; }

  // From another collection: clears, then adds one item per source item and assigns it.
  void Assign(const TPersistent* source) override;
  virtual TObject* GetOwner() const { return nullptr; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item) noexcept;

  TItemFactory factory_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
};

// A collection that belongs to an object (the component that publishes it).
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TObject* owner, TItemFactory factory)
      : TCollection(std::move(factory)), owner_(owner) {}
  TObject* GetOwner() const override { return owner_; }

 private:
  TObject* owner_;
};
