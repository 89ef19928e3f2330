// Tessellan: loads the installed tilesets, then runs the main window until
// it closes and writes the tileset list and the settings back.
#include "Application.h"
#include "MessageBoxService.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/TilesetListStore.h"
#include "base/Busy.h"
#include "frmMainU.h"
#include "tiles/TilesetList.h"

#include <QLabel>
#include <QStringList>

namespace {

// Loads the installed tilesets with their progress in a small window. False
// when start-up must end.
bool LoadTilesets() {
  QLabel progress;
  progress.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  progress.setFrameShape(QFrame::Box);
  progress.setMargin(16);
  progress.setMinimumWidth(360);
  progress.setText(ApplicationTitle());
  progress.show();
  ProcessPendingMessages();
  try {
    TilesetList().LoadInstalled(
        [&progress](const QString& text) {
          progress.setText(ApplicationTitle() + QStringLiteral("\n") + text);
          progress.repaint();
          ProcessPendingMessages();
        },
        DefaultTilesetDir());
  } catch (...) {
    ShowCurrentException();
    return false;
  }
  Settings().SetValue(QStringLiteral("TilesetDir"), TilesetList().Directory());
  return !TilesetList().TerminateRequested();
}

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  SetMessageService(std::make_unique<TMessageBoxService>());
  LoadSettings();
  if (!LoadTilesets()) {
    // The list is incomplete: keep the saved one for the next start.
    SaveSettings();
    return 1;
  }

  const QStringList args = QCoreApplication::arguments().mid(1);
  int result = 0;
  {
    TfrmMain window(args.value(0));
    window.show();
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
