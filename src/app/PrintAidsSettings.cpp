#include "PrintAidsSettings.h"

#include "app/settings/SettingsFile.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StringBag.h"

#include <QSettings>

const QString kPrintAidsKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\PrintAids");

namespace {

struct TAidValue {
  const char* Name;
  bool TPrintAids::*Aid;
};

const TAidValue kAidValues[] = {
    {"PageLabels", &TPrintAids::Labels},
    {"TrimMarks", &TPrintAids::Marks},
    {"CalibrationBar", &TPrintAids::Calibration},
    {"SkipBlankPages", &TPrintAids::SkipBlank},
};

}  // namespace

TPrintAids LoadPrintAids() {
  auto store = OpenSettingsStore();
  store->beginGroup(RegistryGroup(kPrintAidsKey));
  TPrintAids aids;
  for (const TAidValue& value : kAidValues)
    aids.*value.Aid = store->value(QLatin1String(value.Name)).toString() == QLatin1String("1");
  return aids;
}

void KeepPrintAids(const TPrintAids& aids) {
  if (aids == LoadPrintAids() || !OpenSettingsStore()->isWritable()) return;
  ChangeSettingsFile([&](QSettings& store) {
    store.beginGroup(RegistryGroup(kPrintAidsKey));
    for (const TAidValue& value : kAidValues)
      store.setValue(QLatin1String(value.Name),
                     aids.*value.Aid ? QStringLiteral("1") : QStringLiteral("0"));
    store.endGroup();
  });
}
