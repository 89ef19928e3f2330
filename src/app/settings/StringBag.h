#pragma once

#include <QObject>
#include <QString>

#include <utility>
#include <vector>

class QSettings;

// Name and value pairs of text, mirrored in the settings store. Names are
// compared without regard to case; reading a missing name gives the empty
// text and writing the empty text removes the name. It announces when a
// load has filled it (Loaded).
class TStringBag : public QObject {
  Q_OBJECT

 public:
  explicit TStringBag(QString registryKey = QString());

  const QString& RegistryKey() const { return fRegistryKey; }
  void SetRegistryKey(const QString& key) { fRegistryKey = key; }

  QString Value(const QString& name) const;
  void SetValue(const QString& name, const QString& value);
  // Sets the value only when the bag's value for the name is empty.
  void SetDefault(const QString& name, const QString& value);
  bool Contains(const QString& name) const;

  int Count() const { return int(fLines.size()); }
  const QString& NameAt(int index) const { return fLines.at(size_t(index)).first; }
  const QString& ValueAt(int index) const { return fLines.at(size_t(index)).second; }
  void Clear() { fLines.clear(); }

  // Adds every value stored under the bag's key, then announces Loaded.
  void LoadFromRegistry();
  // Writes every line under the bag's key. Values stored there that the bag
  // does not hold stay as they are: nothing is deleted. Nothing is written
  // when the store cannot be written at all (a read-only settings file);
  // a write that fails raises TError with the reason.
  void SaveToRegistry() const;
  // Sets every line under the bag's key on a store, for a change that saves
  // several bags at once.
  void WriteTo(QSettings& store) const;

 signals:
  void Loaded();

 private:
  int IndexOf(const QString& name) const;

  QString fRegistryKey;
  std::vector<std::pair<QString, QString>> fLines;
};

// The settings group that stands for a registry key path below
// "Software\Varnholt\Tessellan\": "1.00.000\MRUList" becomes "1.00.000/MRUList".
QString RegistryGroup(const QString& registryKey);
