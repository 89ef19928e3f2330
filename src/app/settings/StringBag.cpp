#include "StringBag.h"

#include "SettingsFile.h"
#include "SettingsStore.h"
#include "base/Error.h"

#include <QSettings>

namespace {

const QString kRootKey = QStringLiteral("Software\\Varnholt\\Tessellan\\");

}  // namespace

QString RegistryGroup(const QString& registryKey) {
  QString group = registryKey;
  if (group.startsWith(kRootKey, Qt::CaseInsensitive)) group = group.mid(kRootKey.size());
  group.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (group.endsWith(QLatin1Char('/')))
    group.chop(1);
  return group;
}

TStringBag::TStringBag(QString registryKey) : fRegistryKey(std::move(registryKey)) {}

int TStringBag::IndexOf(const QString& name) const {
  for (size_t i = 0; i < fLines.size(); ++i)
    if (fLines[i].first.compare(name, Qt::CaseInsensitive) == 0) return int(i);
  return -1;
}

QString TStringBag::Value(const QString& name) const {
  const int i = IndexOf(name);
  return i < 0 ? QString() : fLines[size_t(i)].second;
}

bool TStringBag::Contains(const QString& name) const {
  return IndexOf(name) >= 0;
}

void TStringBag::SetValue(const QString& name, const QString& value) {
  const int i = IndexOf(name);
  if (value.isEmpty()) {
    if (i >= 0) fLines.erase(fLines.begin() + i);
  } else if (i >= 0) {
    fLines[size_t(i)].second = value;
  } else {
    fLines.emplace_back(name, value);
  }
}

void TStringBag::SetDefault(const QString& name, const QString& value) {
  if (Value(name).isEmpty()) SetValue(name, value);
}

void TStringBag::LoadFromRegistry() {
  if (fRegistryKey.isEmpty())
    throw TError(QStringLiteral("Registry Key unavailable, cannot load values"));
  auto store = OpenSettingsStore();
  store->beginGroup(RegistryGroup(fRegistryKey));
  for (const QString& name : store->childKeys())
    SetValue(name, store->value(name).toString());
  store->endGroup();
  emit Loaded();
}

void TStringBag::SaveToRegistry() const {
  if (fRegistryKey.isEmpty())
    throw TError(QStringLiteral("Registry Key unavailable, cannot save values"));
  if (!OpenSettingsStore()->isWritable()) return;
  ChangeSettingsFile([this](QSettings& store) { WriteTo(store); });
}

void TStringBag::WriteTo(QSettings& store) const {
  if (fRegistryKey.isEmpty())
    throw TError(QStringLiteral("Registry Key unavailable, cannot save values"));
  store.beginGroup(RegistryGroup(fRegistryKey));
  for (const auto& [name, value] : fLines)
    store.setValue(name, value);
  store.endGroup();
}
