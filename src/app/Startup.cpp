#include "Startup.h"

#include "Application.h"
#include "SingleInstance.h"
#include "TilesetInstall.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/TilesetListStore.h"
#include "base/Busy.h"
#include "base/Error.h"
#include "base/MessageService.h"
#include "frmMainU.h"
#include "frmSplash.h"
#include "map/TileMapObjects.h"
#include "print/ui/PrintCommands.h"
#include "tiles/TilesetList.h"

#include <QApplication>

#include <cstdio>

namespace {

// Loads the installed tilesets with their progress on the splash. False
// when start-up must end.
bool LoadTilesets(TfrmSplash& splash) {
  try {
    LoadInstalledTilesets(
        TilesetList(), [&splash](const QString& text) { splash.SplashProgress(text); },
        DefaultTilesetDir());
  } catch (...) {
    ShowCurrentException();
    return false;
  }
  Settings().SetValue(QStringLiteral("TilesetDir"), TilesetList().Directory());
  return !TilesetList().TerminateRequested();
}

int RunPrimary(const QString& startFile) {
  TInstanceServer server;
  if (!server.Listen())
    std::fprintf(stderr, "Tessellan: later starts cannot hand files over: %s\n",
                 qUtf8Printable(server.ErrorString()));

  auto splash = std::make_unique<TfrmSplash>();
  splash->show();
  ProcessPendingMessages();
  if (!LoadTilesets(*splash)) {
    // The list is incomplete: keep the saved one for the next start.
    SaveSettings();
    return 1;
  }

  int result = 0;
  {
    TfrmMain window(startFile);
    QObject::connect(&server, &TInstanceServer::FileHandedOver, &window,
                     Guarded([&window](const QString& path) { window.WMCopyData(path); }));
    window.RestorePlacement();
    window.show();
    splash.reset();
    result = QApplication::exec();
  }
  try {
    SaveTilesetList(TilesetList());
  } catch (...) {
    ShowCurrentException();
  }
  SaveSettings();
  return result;
}

}  // namespace

bool IsPrintSwitch(const QString& argument) {
  return argument.compare(QStringLiteral("/P"), Qt::CaseInsensitive) == 0;
}

int PrintMapFile(const QString& path) {
  QString failure;
  try {
    TTileMap map(NewMapDefaults());
    map.LoadFromFile(path);
    PrintMapToDefaultPrinter(nullptr, map);
    return 0;
  } catch (const TError& e) {
    failure = e.Message();
  } catch (const std::exception& e) {
    failure = QString::fromLocal8Bit(e.what());
  }
  ShowMessage(
      QStringLiteral("The application was unable to print the map. Error Message: ") + failure,
      QStringLiteral("Unable to Print Map"), TMsgIcon::Warning, mbOK);
  return 1;
}

int RunTessellan(const QStringList& arguments) {
  LoadSettings();
  const QString first = arguments.value(0);
  if (IsPrintSwitch(first) && !arguments.value(1).isEmpty())
    return PrintMapFile(arguments.value(1));
  if (ForwardToPrimary(IsPrintSwitch(first) ? QString() : first)) return 0;
  return RunPrimary(first);
}
