// A first window: it shows the supplied tilesets' groups until the main
// window exists.
#include "app/services/Error.h"
#include "app/settings/SettingsStore.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tessellan"));
  LoadSettings();
  QLabel label(QStringLiteral("Tessellan"));
  label.resize(320, 200);
  label.show();
  const int result = app.exec();
  SaveSettings();
  return result;
}
