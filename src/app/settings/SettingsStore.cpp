#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

const float GridSizes[kGridSizeCount] = {0.25f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f};
const char* const GridSizeNames[kGridSizeCount] = {
    "1/4 inch grid - Overview Size",    "1/2 inch grid - Small",
    "1 inch grid - 25 mm Miniatures",   "1.5 inch grid - 30 mm Miniatures",
    "2 inch grid - 35 mm Miniatures",   "2.5 inch grid - Large",
    "3 inch grid - Massive"};

int GridSizeIndex(float size) {
  for (int i = 0; i < kGridSizeCount; ++i)
    if (GridSizes[i] == size) return i;
  return kDefaultGridSizeIndex;
}

namespace {

const QString kSettingsKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\");
const QString kRecentFilesKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\MRUList");

struct TBags {
  TStringBag Settings{kSettingsKey};
  TStringBag RecentFiles{kRecentFilesKey};
  bool Loaded = false;
};

TBags& Bags() {
  static TBags bags;
  return bags;
}

void ApplyDefaults(TStringBag& settings) {
  const QString dir = ProgramDir();
  const std::pair<const char*, QString> defaults[] = {
      {"MRULen", QStringLiteral("5")},      {"LastDir", dir},
      {"TilesetDir", dir + QStringLiteral("tilesets")},
      {"DefMapName", QStringLiteral("BattleMap")},
      {"DefMapWidth", QStringLiteral("16")}, {"DefMapHeight", QStringLiteral("20")},
      {"DefTileSize", QStringLiteral("2")},  {"XDPI", QStringLiteral("0")},
      {"XDPIC", QStringLiteral("72")},       {"XCLR", QStringLiteral("6")},
      {"GroupWidth", QStringLiteral("5")},   {"GroupHeight", QStringLiteral("1")},
      {"GroupCat", QStringLiteral("Floors")}, {"GroupType", QStringLiteral("0")},
      {"GroupPlace", QStringLiteral("0")},   {"DefUndoNum", QStringLiteral("50")},
  };
  for (const auto& [name, value] : defaults) settings.SetDefault(QLatin1String(name), value);
}

void EnsureLoaded() {
  if (!Bags().Loaded) LoadSettings();
}

}  // namespace

TStringBag& Settings() {
  EnsureLoaded();
  return Bags().Settings;
}

TStringBag& RecentFiles() {
  EnsureLoaded();
  return Bags().RecentFiles;
}

void LoadSettings() {
  TBags& bags = Bags();
  bags.Loaded = true;
  bags.Settings.Clear();
  bags.Settings.LoadFromRegistry();
  ApplyDefaults(bags.Settings);
  bags.RecentFiles.Clear();
  bags.RecentFiles.LoadFromRegistry();
}

void SaveSettings() {
  EnsureLoaded();
  Bags().Settings.SaveToRegistry();
  Bags().RecentFiles.SaveToRegistry();
}

std::unique_ptr<QSettings> OpenSettingsStore() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Varnholt"), QStringLiteral("Tessellan"));
}

QString ProgramDir() {
  QString dir;
  if (QCoreApplication::instance())
    dir = QCoreApplication::applicationDirPath();
  else
    dir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  if (dir.isEmpty()) dir = QDir::currentPath();
  return QDir::toNativeSeparators(dir) + QDir::separator();
}
