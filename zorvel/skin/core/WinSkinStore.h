// The skin store: a component that keeps packed skin archives inside the form that owns
// it, each in a named item. It never unpacks or reads an archive.
#pragma once

#include <string>

#include "forms/Classes.h"
#include "forms/Collections.h"
#include "forms/Streams.h"

class TSkinCollectionItem : public TCollectionItem {
 public:
  // Joins `collection` and takes the name "SkinItem" + ID, without the uniqueness test.
  explicit TSkinCollectionItem(TCollection* collection);

  const std::string& Name() const noexcept { return name_; }
  // Case-sensitive and unique in the collection; a name in use raises Exception
  // "The name X is already used." and keeps the old one.
  void SetName(const std::string& value);
  std::string SkinData() const { return "Load Skin"; }
  void SetSkinData(const std::string&) {}
  int DataSize() const noexcept { return static_cast<int>(DataStream.Size()); }

  // The packed archive, byte for byte.
  TMemoryStream DataStream;

  // Copies the whole of DataStream to `destination` at its position; DataStream's
  // position is kept, also on failure.
  void SaveToStream(TStream& destination);

  // The binary property "DataStream": read replaces the data with the whole of
  // `source`; write copies the whole data to `destination`.
  void ReadData(TStream& source);
  void WriteData(TStream& destination);

  // From another store item: its name (without the uniqueness test) and its data.
  void Assign(const TPersistent* source) override;
  std::string GetDisplayName() const override { return name_; }

 private:
  std::string name_;
};

class TSkinCollection : public TOwnedCollection {
 public:
  explicit TSkinCollection(TObject* owner);
  TSkinCollectionItem* Add() { return static_cast<TSkinCollectionItem*>(TCollection::Add()); }
  // Raises EListError for an index outside the collection.
  TSkinCollectionItem* Item(int index) const {
    return static_cast<TSkinCollectionItem*>(Items(index));
  }
};

class TSkinStore : public TComponent {
 public:
  explicit TSkinStore(TComponent* owner);

  TSkinCollection* Store() noexcept { return &store_; }
  // Copies `value` into the store's own collection; nil changes nothing.
  void SetStore(const TSkinCollection* value);

 private:
  TSkinCollection store_;
};
