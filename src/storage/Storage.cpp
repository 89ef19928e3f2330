#include "Storage.h"

struct TStorage::TEntry {
  QString Name;
  TElementType Type;
  std::unique_ptr<TStorage> Storage;
  QByteArray Data;
};

TStorage::TStorage(QString name) : fName(std::move(name)) {}

TStorage::~TStorage() {
  // Letting each storage destroy its sub-storages would take one stack frame
  // per level, and a tree read from a file may be very deep. The sub-storages
  // are moved out level by level instead, so every storage is destroyed
  // after its own sub-storages have been taken from it.
  std::vector<std::unique_ptr<TStorage>> pending;
  auto takeChildren = [&pending](TStorage& storage) {
    for (const auto& entry : storage.fEntries)
      if (entry->Storage) pending.push_back(std::move(entry->Storage));
  };
  takeChildren(*this);
  while (!pending.empty()) {
    std::unique_ptr<TStorage> storage = std::move(pending.back());
    pending.pop_back();
    takeChildren(*storage);
  }
}

int TStorage::CompareNames(const QString& a, const QString& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (qsizetype i = 0; i < a.size(); ++i) {
    const char16_t ca = a[i].toUpper().unicode();
    const char16_t cb = b[i].toUpper().unicode();
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

void TStorage::ValidateElementName(const QString& name) {
  if (name.isEmpty()) throw TStorageError(QStringLiteral("An element name must not be empty."));
  if (name.size() > 31)
    throw TStorageError(
        QStringLiteral("The element name \"%1\" is longer than 31 characters.").arg(name));
  for (QChar c : name)
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
        c == QLatin1Char('!'))
      throw TStorageError(
          QStringLiteral("The element name \"%1\" contains the character '%2'.").arg(name, c));
}

std::vector<TElementInfo> TStorage::Elements() const {
  std::vector<TElementInfo> result;
  result.reserve(fEntries.size());
  for (const auto& entry : fEntries)
    result.push_back({entry->Name, entry->Type});
  return result;
}

int TStorage::IndexOf(const QString& name) const {
  for (size_t i = 0; i < fEntries.size(); ++i)
    if (CompareNames(fEntries[i]->Name, name) == 0) return int(i);
  return -1;
}

int TStorage::InsertionIndex(const QString& name) const {
  int i = 0;
  while (i < int(fEntries.size()) && CompareNames(fEntries[size_t(i)]->Name, name) < 0)
    ++i;
  return i;
}

const TStorage* TStorage::FindStorage(const QString& name) const {
  const int i = IndexOf(name);
  if (i < 0 || fEntries[size_t(i)]->Type != TElementType::Storage) return nullptr;
  return fEntries[size_t(i)]->Storage.get();
}

const QByteArray* TStorage::FindStream(const QString& name) const {
  const int i = IndexOf(name);
  if (i < 0 || fEntries[size_t(i)]->Type != TElementType::Stream) return nullptr;
  return &fEntries[size_t(i)]->Data;
}

const TStorage& TStorage::OpenStorage(const QString& name) const {
  if (const TStorage* storage = FindStorage(name)) return *storage;
  throw TStorageError(QStringLiteral("The storage \"%1\" could not be found.").arg(name));
}

const QByteArray& TStorage::OpenStream(const QString& name) const {
  if (const QByteArray* stream = FindStream(name)) return *stream;
  throw TStorageError(QStringLiteral("The stream \"%1\" could not be found.").arg(name));
}

TStorage::TEntry& TStorage::AddEntry(int index, const QString& name, TElementType type) {
  auto entry = std::make_unique<TEntry>();
  entry->Name = name;
  entry->Type = type;
  if (type == TElementType::Storage) entry->Storage = std::make_unique<TStorage>(name);
  return **fEntries.insert(fEntries.begin() + index, std::move(entry));
}

int TStorage::PrepareCreate(const QString& name) {
  ValidateElementName(name);
  const int existing = IndexOf(name);
  if (existing >= 0) fEntries.erase(fEntries.begin() + existing);
  return InsertionIndex(name);
}

TStorage& TStorage::CreateStorage(const QString& name) {
  return *AddEntry(PrepareCreate(name), name, TElementType::Storage).Storage;
}

QByteArray& TStorage::CreateStream(const QString& name, QByteArray data) {
  TEntry& entry = AddEntry(PrepareCreate(name), name, TElementType::Stream);
  entry.Data = std::move(data);
  return entry.Data;
}

TStorage& TStorage::AppendStorage(const QString& name) {
  return *AddEntry(ElementCount(), name, TElementType::Storage).Storage;
}

QByteArray& TStorage::AppendStream(const QString& name, QByteArray data) {
  TEntry& entry = AddEntry(ElementCount(), name, TElementType::Stream);
  entry.Data = std::move(data);
  return entry.Data;
}

const QString& TStorage::NameAt(int index) const {
  return fEntries.at(size_t(index))->Name;
}

TElementType TStorage::TypeAt(int index) const {
  return fEntries.at(size_t(index))->Type;
}

const TStorage& TStorage::StorageAt(int index) const {
  const TEntry& entry = *fEntries.at(size_t(index));
  if (entry.Type != TElementType::Storage)
    throw TStorageError(QStringLiteral("\"%1\" is not a storage.").arg(entry.Name));
  return *entry.Storage;
}

const QByteArray& TStorage::StreamAt(int index) const {
  const TEntry& entry = *fEntries.at(size_t(index));
  if (entry.Type != TElementType::Stream)
    throw TStorageError(QStringLiteral("\"%1\" is not a stream.").arg(entry.Name));
  return entry.Data;
}

void ForEachElement(const TStorage& root,
                    const std::function<void(const TStorage& storage, int index)>& visit) {
  std::vector<const TStorage*> pending{&root};
  while (!pending.empty()) {
    const TStorage* storage = pending.back();
    pending.pop_back();
    for (int i = 0; i < storage->ElementCount(); ++i) {
      visit(*storage, i);
      if (storage->TypeAt(i) == TElementType::Storage) pending.push_back(&storage->StorageAt(i));
    }
  }
}

QString SummaryInformationName() {
  return QChar(5) + QStringLiteral("SummaryInformation");
}

QString DocumentSummaryInformationName() {
  return QChar(5) + QStringLiteral("DocumentSummaryInformation");
}
