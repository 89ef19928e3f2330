#include "app/PrintAidsSettings.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StringBag.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace {

// The aids a user chose come back on the next run, from a group of their
// own: the program's other settings keep exactly their keys and values.
TEST(PrintAidsSettings, ChosenAidsAreKeptApartFromTheOtherSettings) {
  OpenSettingsStore()->remove(QStringLiteral("1.00.000/PrintAids"));
  EXPECT_EQ(LoadPrintAids(), TPrintAids());
  const QStringList keys = OpenSettingsStore()->allKeys();

  TPrintAids chosen;
  chosen.Labels = true;
  chosen.SkipBlank = true;
  KeepPrintAids(chosen);
  EXPECT_EQ(LoadPrintAids(), chosen);
  auto store = OpenSettingsStore();
  store->beginGroup(QStringLiteral("1.00.000/PrintAids"));
  EXPECT_EQ(store->childKeys(),
            QStringList({"CalibrationBar", "PageLabels", "SkipBlankPages", "TrimMarks"}));
  EXPECT_EQ(store->value(QStringLiteral("PageLabels")).toString(), QStringLiteral("1"));
  EXPECT_EQ(store->value(QStringLiteral("TrimMarks")).toString(), QStringLiteral("0"));
  store->endGroup();
  QStringList others = store->allKeys();
  others.removeIf(
      [](const QString& key) { return key.startsWith(QLatin1String("1.00.000/PrintAids/")); });
  EXPECT_EQ(others, keys);

  // A value that is not "1" reads as off.
  store->setValue(QStringLiteral("1.00.000/PrintAids/PageLabels"), QStringLiteral("yes"));
  store->sync();
  EXPECT_FALSE(LoadPrintAids().Labels);
  OpenSettingsStore()->remove(QStringLiteral("1.00.000/PrintAids"));
}

}  // namespace
