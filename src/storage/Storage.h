#pragma once

#include "base/Error.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// An error of the storage layer: a missing element, a damaged file, a refused
// open or a failed write.
class TStorageError : public TError {
 public:
  using TError::TError;
};

enum class TElementType { Storage = 1, Stream = 2 };

struct TElementInfo {
  QString Name;
  TElementType Type;
};

// One storage of a compound file, held whole in memory: its sub-storages and
// streams, in the container's order. Files are read into such a tree at once
// and written from one in one go, so no file stays open between operations.
class TStorage {
 public:
  explicit TStorage(QString name = QString());
  ~TStorage();
  TStorage(const TStorage&) = delete;
  TStorage& operator=(const TStorage&) = delete;

  const QString& Name() const { return fName; }

  // The direct elements in the container's order.
  std::vector<TElementInfo> Elements() const;
  int ElementCount() const { return int(fEntries.size()); }
  const QString& NameAt(int index) const;
  TElementType TypeAt(int index) const;
  const TStorage& StorageAt(int index) const;
  const QByteArray& StreamAt(int index) const;

  // Lookups by name, compared the way the container compares names.
  const TStorage* FindStorage(const QString& name) const;
  const QByteArray* FindStream(const QString& name) const;
  // As the Find functions, but a missing element raises TStorageError.
  const TStorage& OpenStorage(const QString& name) const;
  const QByteArray& OpenStream(const QString& name) const;

  // Create an element, replacing any element of the same name. The name is
  // checked (ValidateElementName) and the element takes its place in the
  // container's order.
  TStorage& CreateStorage(const QString& name);
  QByteArray& CreateStream(const QString& name, QByteArray data = QByteArray());

  // For readers: append an element in the order the file gives, without
  // checking or sorting.
  TStorage& AppendStorage(const QString& name);
  QByteArray& AppendStream(const QString& name, QByteArray data);

  // The container's order of names: shorter names first, then by the
  // upper-cased UTF-16 code units. Returns <0, 0 or >0.
  static int CompareNames(const QString& a, const QString& b);
  // Raises TStorageError for a name the container cannot hold: empty, longer
  // than 31 UTF-16 units, or containing one of / \ : !
  static void ValidateElementName(const QString& name);

 private:
  struct TEntry;
  int IndexOf(const QString& name) const;
  int InsertionIndex(const QString& name) const;
  int PrepareCreate(const QString& name);
  TEntry& AddEntry(int index, const QString& name, TElementType type);

  QString fName;
  std::vector<std::unique_ptr<TEntry>> fEntries;
};

// Calls visit(storage, index) for every element of the tree below root, at
// every level. Iterative, so even a very deep tree read from a file cannot
// exhaust the stack.
void ForEachElement(const TStorage& root,
                    const std::function<void(const TStorage& storage, int index)>& visit);

// Names of the two standard property-set streams.
QString SummaryInformationName();          // "\x05SummaryInformation"
QString DocumentSummaryInformationName();  // "\x05DocumentSummaryInformation"
