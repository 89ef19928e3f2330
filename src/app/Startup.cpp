#include "Startup.h"

#include "Application.h"
#include "PrintAidsSettings.h"
#include "SingleInstance.h"
#include "TilesetInstall.h"
#include "app/settings/SettingsFile.h"
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
#include <memory>

namespace {

// How often a start tries to hand its file over to primaries that end
// before they take it.
constexpr int kHandOverAttempts = 3;

// Loads the installed tilesets with their progress on the splash. False
// when start-up must end.
bool LoadTilesets(TfrmSplash& splash) {
  // The splash shows the loading of these tilesets only: the connection
  // ends with its context.
  QObject loading;
  QObject::connect(&TilesetList(), &TTilesetList::Progress, &loading,
                   [&splash](const QString& text) { splash.SplashProgress(text); });
  try {
    LoadInstalledTilesets(TilesetList(), DefaultTilesetDir());
  } catch (...) {
    ShowCurrentException();
    return false;
  }
  Settings().SetValue(QStringLiteral("TilesetDir"), TilesetList().Directory());
  return !TilesetList().TerminateRequested();
}

// Hand-overs that arrive while the tilesets load wait in the server until
// the window is up; the later starts are released as their files open.
int RunPrimary(const QString& startFile, std::unique_ptr<TInstanceServer> server) {
  auto splash = std::make_unique<TfrmSplash>();
  splash->show();
  ProcessPendingMessages();
  if (!LoadTilesets(*splash)) {
    // The list is incomplete: keep the saved one for the next start.
    SaveAtExit(SaveSettings);
    return 1;
  }

  int result = 0;
  {
    TfrmMain window(startFile);
    window.RestorePlacement();
    window.show();
    splash.reset();
    if (server) {
      QObject::connect(server.get(), &TInstanceServer::FileHandedOver, &window,
                       Guarded([&window](const QString& path) { window.WMCopyData(path); }));
      server->StartDelivering();
    }
    result = QApplication::exec();
    // Later starts still waiting find nobody and start the editor again.
    server.reset();
  }
  try {
    SaveTilesetList(TilesetList());
  } catch (...) {
    ShowCurrentException();
  }
  SaveAtExit(SaveSettings);
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
    PrintMapToDefaultPrinter(nullptr, map, LoadPrintAids());
    return 0;
  } catch (...) {
    failure = CurrentExceptionText();
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
  const QString handed = IsPrintSwitch(first) ? QString() : first;
  // A primary that ends before it has handled the file (it was closing, or
  // its start-up failed) leaves the file to this start.
  TInstanceClaim claim;
  for (int attempt = 0; attempt < kHandOverAttempts; ++attempt) {
    claim = ClaimInstance();
    if (!claim.Primary) break;
    if (HandOver(*claim.Primary, handed)) return 0;
    claim = TInstanceClaim();
    claim.Problem = QStringLiteral("the running editor ended before it took the file");
  }
  // Whatever went wrong with the hand-over, this start still gets a window.
  if (!claim.Problem.isEmpty())
    std::fprintf(stderr, "Tessellan: runs on its own: %s\n", qUtf8Printable(claim.Problem));
  return RunPrimary(first, std::move(claim.Server));
}
