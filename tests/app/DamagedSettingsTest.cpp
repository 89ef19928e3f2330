// A settings file whose numbers are damaged: each falls back to its default,
// maps still open and new maps still start, in the window and in the
// command-line tool.
#include "WindowTestSupport.h"
#include "app/settings/SettingsStore.h"
#include "map/TileMapObjects.h"
#include "map/UndoRedoU.h"
#include "support/RunProgram.h"
#include "support/ScriptedMessages.h"
#include "tiles/TileObjects.h"

#include <QAction>
#include <QSettings>

namespace {

// Every numeric setting with a value that is no number or lies outside the
// range the program accepts, and the default it must fall back to.
struct TDamage {
  const char* Name;
  const char* Stored;
  int Default;
};
const TDamage kDamage[] = {
    {"MRULen", "10", 5},     {"DefMapWidth", "abc", 16}, {"DefMapHeight", "201", 20},
    {"DefTileSize", "7", 2}, {"XDPI", "-1", 0},          {"XDPIC", "0", 72},
    {"XCLR", "six", 6},      {"GroupWidth", "0", 5},     {"GroupHeight", "1.5", 1},
    {"GroupType", "2", 0},   {"GroupPlace", " 1", 0},    {"DefUndoNum", "1000", 50},
};

}  // namespace

using TDamagedSettingsTest = TWindowTest;

TEST_F(TDamagedSettingsTest, DamagedNumbersFallBackAndMapsStillOpen) {
  // A map saved while the settings were sound.
  const QString path = TempPath(QStringLiteral("Crypt.tqm"));
  dialogs->Answers = {path};
  Run("faSaveAs");
  ASSERT_EQ(window->CurrentMap()->FileName(), path);
  window.reset();

  {
    const auto store = OpenSettingsStore();
    for (const TDamage& damage : kDamage)
      store->setValue(QStringLiteral("1.00.000/") + QLatin1String(damage.Name),
                      QLatin1String(damage.Stored));
    // A sound value that differs from its default is kept.
    store->setValue(QStringLiteral("1.00.000/DefMapName"), QStringLiteral("Crypt"));
    store->sync();
  }
  // The command-line tool reads maps whatever the settings hold.
  const TProgramRun info = RunTool({QStringLiteral("map-info"), path});
  EXPECT_EQ(info.ExitCode, 0) << info.Err.toStdString();
  EXPECT_TRUE(info.Out.contains("\"Width\": 16")) << info.Out.toStdString();

  LoadSettings();
  for (const TDamage& damage : kDamage) {
    const QString name = QLatin1String(damage.Name);
    EXPECT_EQ(Settings().Value(name), QString::number(damage.Default)) << damage.Name;
    EXPECT_EQ(IntSetting(name), damage.Default) << damage.Name;
  }
  // A value damaged during the run falls back as well.
  Settings().SetValue(QStringLiteral("DefUndoNum"), QStringLiteral("many"));
  EXPECT_EQ(IntSetting(QStringLiteral("DefUndoNum")), 50);
  Settings().SetValue(QStringLiteral("DefUndoNum"), QStringLiteral("7"));

  const TGroupDefaults group = NewGroupDefaults();
  EXPECT_EQ(group.PatWidth, 5);
  EXPECT_EQ(group.PatHeight, 1);
  EXPECT_EQ(group.FType, 0);
  EXPECT_EQ(group.PlaceType, 0);

  // The window opens the map at start and makes new maps from the defaults.
  MakeWindow(path);
  EXPECT_TRUE(ScriptedMessages().Shown.empty());
  ASSERT_EQ(window->CurrentMap()->FileName(), path);
  EXPECT_EQ(window->CurrentMap()->UndoList().MaxUndo(), 7);
  Run("faNewMap");
  const TTileMap* made = window->CurrentMap();
  EXPECT_EQ(made->MapName(), QStringLiteral("Crypt1"));
  EXPECT_EQ(made->Width(), 16);
  EXPECT_EQ(made->Height(), 20);
  EXPECT_EQ(made->TileSize(), 1.0f);
  EXPECT_EQ(made->UndoList().MaxUndo(), 7);

  // The repaired values (and the one set since) are what the next start reads.
  SaveSettings();
  const auto reread = OpenSettingsStore();
  for (const TDamage& damage : kDamage) {
    const int expected = qstrcmp(damage.Name, "DefUndoNum") == 0 ? 7 : damage.Default;
    EXPECT_EQ(reread->value(QStringLiteral("1.00.000/") + QLatin1String(damage.Name)).toString(),
              QString::number(expected))
        << damage.Name;
  }
}
