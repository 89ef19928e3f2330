#include "SettingsStore.h"

#include "SettingsFile.h"

#include "base/Convert.h"
#include "base/Error.h"
#include "map/TileMapObjects.h"
#include "tiles/TileObjects.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

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

// A setting with its default. Numbers carry the range the program accepts
// (the Options dialog's, where it edits the value); texts have Min > Max.
struct TSettingDefault {
  const char* Name;
  const char* Value;  // none: a folder of the program, known only at run time
  int Min = 0;
  int Max = -1;
  bool IsNumber() const { return Min <= Max; }
};

// In the order the defaults are applied, which is the order a first run
// writes them in.
const TSettingDefault kDefaults[] = {
    {"MRULen", "5", 0, 9},
    {"LastDir", nullptr},
    {"TilesetDir", nullptr},
    {"DefMapName", "BattleMap"},
    {"DefMapWidth", "16", 2, 200},
    {"DefMapHeight", "20", 2, 200},
    {"DefTileSize", "2", 0, kGridSizeCount - 1},
    {"XDPI", "0", 0, 100000},
    {"XDPIC", "72", 1, 100000},
    {"XCLR", "6", 0, 64},
    {"GroupWidth", "5", 1, 100},
    {"GroupHeight", "1", 1, 100},
    {"GroupCat", "Floors"},
    {"GroupType", "0", 0, 1},
    {"GroupPlace", "0", 0, 2},
    {"DefUndoNum", "50", 1, 100},
};

const TSettingDefault* FindDefault(const QString& name) {
  for (const TSettingDefault& entry : kDefaults)
    if (name.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0) return &entry;
  return nullptr;
}

QString DefaultText(const TSettingDefault& entry) {
  if (entry.Value) return QString::fromLatin1(entry.Value);
  const QString dir = ProgramDir();
  return qstrcmp(entry.Name, "TilesetDir") == 0 ? dir + QStringLiteral("tilesets") : dir;
}

// The number a text holds when it is one within the entry's range.
bool ParseInRange(const QString& text, const TSettingDefault& entry, int& value) {
  try {
    value = StrToInt(text);
  } catch (const TConvertError&) {
    return false;
  }
  return value >= entry.Min && value <= entry.Max;
}

// Fills empty values with their defaults and replaces numbers that do not
// parse or lie outside their range, so that a damaged settings file cannot
// break anything that reads them; the repaired values are written at exit.
void ApplyDefaults(TStringBag& settings) {
  for (const TSettingDefault& entry : kDefaults) {
    const QString name = QLatin1String(entry.Name);
    settings.SetDefault(name, DefaultText(entry));
    int value = 0;
    if (entry.IsNumber() && !ParseInRange(settings.Value(name), entry, value))
      settings.SetValue(name, DefaultText(entry));
  }
}

void EnsureLoaded() {
  if (!Bags().Loaded) LoadSettings();
}

// Creates the directory when needed and proves that a file can be written
// in it; the root user passes every permission test, so only a real write
// tells.
bool IsWritableDirectory(const QString& directory) {
  if (!QDir().mkpath(directory)) return false;
  QTemporaryFile probe(QDir(directory).filePath(QStringLiteral(".write-test-XXXXXX")));
  return probe.open() && probe.write("x", 1) == 1 && probe.flush();
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

int IntSetting(const QString& name) {
  const QString text = Settings().Value(name);
  const TSettingDefault* entry = FindDefault(name);
  if (!entry || !entry->IsNumber()) return StrToInt(text);
  int value = 0;
  return ParseInRange(text, *entry, value) ? value : QString::fromLatin1(entry->Value).toInt();
}

TMapDefaults NewMapDefaults() {
  TMapDefaults defaults;
  defaults.Width = IntSetting(QStringLiteral("DefMapWidth"));
  defaults.Height = IntSetting(QStringLiteral("DefMapHeight"));
  defaults.MapName = Settings().Value(QStringLiteral("DefMapName"));
  defaults.AuthorName = Settings().Value(QStringLiteral("Author"));
  defaults.TileSize = GridSizes[IntSetting(QStringLiteral("DefTileSize"))];
  defaults.MaxUndo = IntSetting(QStringLiteral("DefUndoNum"));
  return defaults;
}

TGroupDefaults NewGroupDefaults() {
  TGroupDefaults defaults;
  defaults.PatWidth = IntSetting(QStringLiteral("GroupWidth"));
  defaults.PatHeight = IntSetting(QStringLiteral("GroupHeight"));
  defaults.FType = quint8(IntSetting(QStringLiteral("GroupType")));
  defaults.PlaceType = quint8(IntSetting(QStringLiteral("GroupPlace")));
  return defaults;
}

void SaveSettings() {
  EnsureLoaded();
  if (!OpenSettingsStore()->isWritable()) return;
  ChangeSettingsFile([](QSettings& store) {
    Bags().Settings.WriteTo(store);
    Bags().RecentFiles.WriteTo(store);
  });
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

QString DefaultTilesetDir() {
  const QString besideProgram = ProgramDir() + QStringLiteral("Tilesets");
  if (IsWritableDirectory(besideProgram)) return besideProgram;
  return QDir::toNativeSeparators(
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
      QStringLiteral("/Tilesets"));
}
