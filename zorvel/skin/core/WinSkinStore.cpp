#include "WinSkinStore.h"

#include <vector>

TSkinCollectionItem::TSkinCollectionItem(TCollection* collection)
    : TCollectionItem(collection), name_("SkinItem" + std::to_string(ID())) {}

void TSkinCollectionItem::SetName(const std::string& value) {
  if (value == name_) return;
  if (TCollection* owner = Collection())
    for (std::size_t i = 0; i < owner->Count(); ++i) {
      auto* other = static_cast<TSkinCollectionItem*>(owner->Items(static_cast<int>(i)));
      if (other != this && other->name_ == value)
        throw Exception("The name " + value + " is already used.");
    }
  name_ = value;
}

void TSkinCollectionItem::SaveToStream(TStream& destination) {
  TStreamPositionGuard keep(DataStream);
  if (&destination == &DataStream) {
    // Copying the data into itself: take the bytes first.
    std::vector<std::uint8_t> bytes = DataStream.Bytes();
    destination.Write(bytes.data(), bytes.size());
    return;
  }
  destination.CopyWhole(DataStream);
}

void TSkinCollectionItem::ReadData(TStream& source) {
  if (&source == &DataStream) return;
  DataStream.Clear();
  DataStream.CopyWhole(source);
}

void TSkinCollectionItem::WriteData(TStream& destination) { SaveToStream(destination); }

void TSkinCollectionItem::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TSkinCollectionItem*>(source);
  if (!other) return TCollectionItem::Assign(source);
  if (other == this) return;
  name_ = other->name_;
  DataStream.Clear();
  // The source's bytes are read in place, so its position stays as it was.
  DataStream.Write(other->DataStream.Memory(), other->DataStream.Size());
}

TSkinCollection::TSkinCollection(TObject* owner)
    : TOwnedCollection(owner, [](TCollection* c) -> TCollectionItem* {
        return new TSkinCollectionItem(c);
      }) {}

TSkinStore::TSkinStore(TComponent* owner) : TComponent(owner), store_(this) {}

void TSkinStore::SetStore(const TSkinCollection* value) {
  if (value) store_.Assign(value);
}
