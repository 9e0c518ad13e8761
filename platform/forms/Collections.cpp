#include "Collections.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection* collection) {
  if (collection) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

TCollection::TCollection(TItemFactory factory) : factory_(std::move(factory)) {}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Add() {
  // The item joins the collection in its own constructor.
  return factory_(this);
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= items_.size())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return items_[static_cast<std::size_t>(index)];
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
  while (!items_.empty()) delete items_.back();
}

int TCollection::IndexOf(const TCollectionItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TCollection::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) return TPersistent::Assign(source);
  if (other == this) return;
  Clear();
  for (TCollectionItem* item : other->items_) Add()->Assign(item);
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
}

void TCollection::RemoveItem(TCollectionItem* item) noexcept {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it != items_.end()) items_.erase(it);
  item->collection_ = nullptr;
}
