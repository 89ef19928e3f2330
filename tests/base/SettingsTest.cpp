#include "app/settings/SettingsFile.h"
#include "app/settings/SettingsStore.h"
#include "base/Convert.h"
#include "base/Error.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

TEST(StringBag, NamesIgnoreCaseAndEmptyValueRemovesTheLine) {
  TStringBag bag(QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\Test"));
  bag.SetValue(QStringLiteral("LastDir"), QStringLiteral("/maps/"));
  EXPECT_EQ(bag.Value(QStringLiteral("lastdir")), QStringLiteral("/maps/"));
  bag.SetValue(QStringLiteral("LASTDIR"), QStringLiteral("/other/"));
  EXPECT_EQ(bag.Count(), 1);
  EXPECT_EQ(bag.Value(QStringLiteral("LastDir")), QStringLiteral("/other/"));

  bag.SetDefault(QStringLiteral("lastDir"), QStringLiteral("/ignored/"));
  EXPECT_EQ(bag.Value(QStringLiteral("LastDir")), QStringLiteral("/other/"));

  bag.SetValue(QStringLiteral("LastDir"), QString());
  EXPECT_EQ(bag.Count(), 0);
  EXPECT_TRUE(bag.Value(QStringLiteral("LastDir")).isEmpty());
}

TEST(StringBag, SavingDeletesNothingAndLoadReadsEveryValue) {
  TStringBag bag(QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\Test"));
  bag.SetValue(QStringLiteral("A"), QStringLiteral("1"));
  bag.SetValue(QStringLiteral("B"), QStringLiteral("two, with comma"));
  bag.SaveToRegistry();

  bag.SetValue(QStringLiteral("A"), QString());
  bag.SaveToRegistry();

  bool loaded = false;
  TStringBag reread(bag.RegistryKey());
  QObject::connect(&reread, &TStringBag::Loaded, [&] { loaded = true; });
  reread.LoadFromRegistry();
  EXPECT_TRUE(loaded);
  EXPECT_EQ(reread.Value(QStringLiteral("A")), QStringLiteral("1"));
  EXPECT_EQ(reread.Value(QStringLiteral("B")), QStringLiteral("two, with comma"));

  auto store = OpenSettingsStore();
  EXPECT_EQ(store->value(QStringLiteral("1.00.000/Test/B")).toString(),
            QStringLiteral("two, with comma"));
}

TEST(StringBag, AnEmptyKeyCannotLoadOrSave) {
  TStringBag bag;
  try {
    bag.LoadFromRegistry();
    FAIL();
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Registry Key unavailable, cannot load values"));
  }
  try {
    bag.SaveToRegistry();
    FAIL();
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Registry Key unavailable, cannot save values"));
  }
}

TEST(Settings, FirstRunWritesEveryDefaultUnderTheSettingsKey) {
  EXPECT_EQ(Settings().Value(QStringLiteral("DefMapName")), QStringLiteral("BattleMap"));
  SaveSettings();
  auto store = OpenSettingsStore();
  store->beginGroup(QStringLiteral("1.00.000"));
  const QStringList expected = {
      QStringLiteral("MRULen"),      QStringLiteral("LastDir"),     QStringLiteral("TilesetDir"),
      QStringLiteral("DefMapName"),  QStringLiteral("DefMapWidth"), QStringLiteral("DefMapHeight"),
      QStringLiteral("DefTileSize"), QStringLiteral("XDPI"),        QStringLiteral("XDPIC"),
      QStringLiteral("XCLR"),        QStringLiteral("GroupWidth"),  QStringLiteral("GroupHeight"),
      QStringLiteral("GroupCat"),    QStringLiteral("GroupType"),   QStringLiteral("GroupPlace"),
      QStringLiteral("DefUndoNum")};
  for (int i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(Settings().NameAt(i), expected[i]);
    EXPECT_EQ(store->value(expected[i]).toString(), Settings().ValueAt(i))
        << expected[i].toStdString();
  }
  EXPECT_TRUE(Settings().Value(QStringLiteral("LastDir")).endsWith(QLatin1Char('/')));
}

TEST(Settings, StoredValuesWinOverDefaultsAndRecentFilesLiveInTheirOwnGroup) {
  {
    auto store = OpenSettingsStore();
    store->setValue(QStringLiteral("1.00.000/DefMapName"), QStringLiteral("Dungeon"));
    store->setValue(QStringLiteral("1.00.000/MRUList/MRU1"), QStringLiteral("/maps/a.tqm"));
  }
  LoadSettings();
  EXPECT_EQ(Settings().Value(QStringLiteral("DefMapName")), QStringLiteral("Dungeon"));
  EXPECT_EQ(RecentFiles().Value(QStringLiteral("MRU1")), QStringLiteral("/maps/a.tqm"));
  EXPECT_FALSE(Settings().Contains(QStringLiteral("MRU1")));
}

TEST(GridSizes, LookupIsExactWithTheOneInchFallback) {
  EXPECT_EQ(GridSizeIndex(0.25f), 0);
  EXPECT_EQ(GridSizeIndex(3.0f), 6);
  EXPECT_EQ(GridSizeIndex(0.3f), 2);
  EXPECT_EQ(GridSizeIndex(1.0001f), 2);
  EXPECT_STREQ(GridSizeNames[GridSizeIndex(1.5f)], "1.5 inch grid - 30 mm Miniatures");
}

TEST(Convert, IntegersAreStrictDecimal) {
  EXPECT_EQ(StrToInt(QStringLiteral("12")), 12);
  EXPECT_EQ(StrToInt(QStringLiteral("-7")), -7);
  EXPECT_EQ(StrToInt(QStringLiteral("-2147483648")), -2147483647 - 1);
  for (const char* bad : {"", "abc", "1.0", " 1", "2147483648", "-", "12a"})
    EXPECT_THROW(StrToInt(QString::fromLatin1(bad)), TConvertError) << bad;
  EXPECT_EQ(StrToIntDef(QStringLiteral("abc"), 0), 0);
  try {
    StrToInt(QStringLiteral("abc"));
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("'abc' is not a valid integer value"));
  }
}

TEST(Convert, FractionsAcceptEitherSeparator) {
  EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("0.25")), 0.25);
  EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("0,25")), 0.25);
  EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("1")), 1.0);
  for (const char* bad : {"", "1.2.3", "1,2.3", "inf", "nan", " 1", "x"})
    EXPECT_THROW(StrToFloat(QString::fromLatin1(bad)), TConvertError) << bad;
}

TEST(ErrorDisplay, AppendsAFullStopUnlessTheTextEndsWithOneOrAnEarlierCharacter) {
  EXPECT_EQ(ErrorDisplayText(QStringLiteral("Failed")), QStringLiteral("Failed."));
  EXPECT_EQ(ErrorDisplayText(QStringLiteral("Done.")), QStringLiteral("Done."));
  EXPECT_EQ(ErrorDisplayText(QStringLiteral("Really!")), QStringLiteral("Really!"));
  EXPECT_EQ(ErrorDisplayText(QStringLiteral("Why?")), QStringLiteral("Why?."));
  EXPECT_EQ(ErrorDisplayText(QString()), QStringLiteral("."));
}

// The settings file is only ever replaced by a whole new one. A write the
// file system refuses (a file-size limit, as a full disk) raises, and the
// previous file stays byte for byte with nothing left beside it: whether
// the refusal meets a write that reports it, or QSettings' own write, which
// does not and is caught by reading the result back.
TEST(Settings, AWriteTheDiskRefusesKeepsThePreviousFile) {
  SaveSettings();
  const QString path = OpenSettingsStore()->fileName();
  const QString folder = QFileInfo(path).absolutePath();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray previous = file.readAll();
  file.close();
  const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);
  const QString longer = QStringLiteral("A map name much longer than the default one");
  Settings().SetValue(QStringLiteral("DefMapName"), longer);

  const struct {
    qint64 Limit;
    const char* Reason;  // null: any
  } cases[] = {{previous.size() - 1, kFileTooLarge}, {previous.size(), nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Limit);
    try {
      TFileSizeLimit limit(c.Limit);
      SaveSettings();
      ADD_FAILURE() << "saved";
    } catch (const TError& error) {
      EXPECT_TRUE(error.Message().contains(QDir::toNativeSeparators(path)))
          << qPrintable(error.Message());
      if (c.Reason) {
        EXPECT_TRUE(error.Message().contains(QLatin1String(c.Reason)))
            << qPrintable(error.Message());
      }
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), previous);
    file.close();
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), before);
  }

  // At exit the failure is told on stderr, the editor being on its way out.
  testing::internal::CaptureStderr();
  {
    TFileSizeLimit limit(previous.size() - 1);
    SaveAtExit(SaveSettings);
  }
  const QString told = QString::fromStdString(testing::internal::GetCapturedStderr());
  EXPECT_TRUE(told.startsWith(QStringLiteral("Tessellan: the settings were not saved. The file")))
      << qPrintable(told);
  EXPECT_TRUE(told.contains(QLatin1String(kFileTooLarge))) << qPrintable(told);

  // With room again the change is saved, and read by the next load.
  SaveSettings();
  LoadSettings();
  EXPECT_EQ(Settings().Value(QStringLiteral("DefMapName")), longer);
}
