#include "WindowPlacement.h"

#include "app/settings/SettingsStore.h"
#include "app/settings/StringBag.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

const QString kMainPlacementKey = QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\Main");

namespace {

// The show states as stored.
constexpr int kStateNormal = 1;
constexpr int kStateMinimised = 2;
constexpr int kStateMaximised = 3;

const char* const kValueNames[] = {"XPos", "YPos", "Width", "Height", "State"};

int ShowState(const QWidget* window) {
  if (window->isMinimized()) return kStateMinimised;
  if (window->isMaximized()) return kStateMaximised;
  return kStateNormal;
}

bool OnSomeScreen(const QRect& rect) {
  const auto screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(), [&rect](const QScreen* screen) {
    return screen->availableGeometry().intersects(rect);
  });
}

// A placement saved on a screen that is gone (or with a size of nothing)
// would open the window where nobody can see it.
QRect VisiblePlacement(QRect rect, const QWidget* window) {
  rect.setSize(rect.size().expandedTo(window->minimumSize()).expandedTo(QSize(1, 1)));
  if (OnSomeScreen(rect)) return rect;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return rect;
  const QRect area = primary->availableGeometry();
  rect.setSize(rect.size().boundedTo(area.size()));
  rect.moveCenter(area.center());
  return rect;
}

}  // namespace

QString PlacementGroup(const QString& keyPath, const QWidget* window) {
  QString key = keyPath;
  if (!key.endsWith(QLatin1Char('\\'))) key += QLatin1Char('\\');
  return RegistryGroup(key + window->objectName());
}

bool SaveWindowPlacement(QWidget* window, const QString& keyPath) {
  auto store = OpenSettingsStore();
  if (!store->isWritable()) return false;
  const QRect normal = window->normalGeometry();
  store->beginGroup(PlacementGroup(keyPath, window));
  store->setValue(QStringLiteral("XPos"), normal.left());
  store->setValue(QStringLiteral("YPos"), normal.top());
  store->setValue(QStringLiteral("Width"), normal.left() + normal.width());
  store->setValue(QStringLiteral("Height"), normal.top() + normal.height());
  store->setValue(QStringLiteral("State"), ShowState(window));
  store->endGroup();
  store->sync();
  return store->status() == QSettings::NoError;
}

bool RestoreWindowPlacement(QWidget* window, const QString& keyPath) {
  auto store = OpenSettingsStore();
  store->beginGroup(PlacementGroup(keyPath, window));
  int values[5] = {};
  for (int i = 0; i < 5; ++i) {
    const QString name = QLatin1String(kValueNames[i]);
    if (!store->contains(name)) return false;
    bool ok = false;
    values[i] = store->value(name).toInt(&ok);
    if (!ok) return false;
  }
  store->endGroup();
  const auto [left, top, right, bottom, state] = values;
  const QRect normal = VisiblePlacement(QRect(left, top, right - left, bottom - top), window);

  window->setWindowState(Qt::WindowNoState);
  window->setGeometry(normal);
  // A window closed while minimised comes back in its normal place: a
  // program that starts as an icon looks as if it did not start.
  if (state == kStateMaximised) window->setWindowState(Qt::WindowMaximized);
  return true;
}
