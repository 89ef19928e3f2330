#include "WindowPlacement.h"

#include "app/settings/SettingsFile.h"
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

// A stored placement is used when it lies (at least partly) on a screen
// and fits that screen's available area; anything else (a screen that is
// gone, a damaged or hostile settings file) would open the window where
// nobody can see it, or with a size beyond any screen. Worked out in 64 bits:
// stored edges far apart do not fit the 32 bits of a QRect.
bool Usable(qint64 left, qint64 top, qint64 width, qint64 height) {
  const auto screens = QGuiApplication::screens();
  return std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
    const QRect area = screen->availableGeometry();
    const bool fits = width <= area.width() && height <= area.height();
    const bool meets = left < qint64(area.left()) + area.width() && left + width > area.left() &&
                       top < qint64(area.top()) + area.height() && top + height > area.top();
    return fits && meets;
  });
}

}  // namespace

QString PlacementGroup(const QString& keyPath, const QWidget* window) {
  QString key = keyPath;
  if (!key.endsWith(QLatin1Char('\\'))) key += QLatin1Char('\\');
  return RegistryGroup(key + window->objectName());
}

bool SaveWindowPlacement(QWidget* window, const QString& keyPath) {
  if (!OpenSettingsStore()->isWritable()) return false;
  const QRect normal = window->normalGeometry();
  const QString group = PlacementGroup(keyPath, window);
  const int state = ShowState(window);
  ChangeSettingsFile([&](QSettings& store) {
    store.beginGroup(group);
    store.setValue(QStringLiteral("XPos"), normal.left());
    store.setValue(QStringLiteral("YPos"), normal.top());
    store.setValue(QStringLiteral("Width"), normal.left() + normal.width());
    store.setValue(QStringLiteral("Height"), normal.top() + normal.height());
    store.setValue(QStringLiteral("State"), state);
    store.endGroup();
  });
  return true;
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
  // A size of nothing becomes the smallest the window allows.
  const QSize least = window->minimumSize().expandedTo(QSize(1, 1));
  const qint64 width = std::max<qint64>(qint64(right) - left, least.width());
  const qint64 height = std::max<qint64>(qint64(bottom) - top, least.height());
  if (!Usable(left, top, width, height)) return false;
  const QRect normal(left, top, int(width), int(height));

  window->setWindowState(Qt::WindowNoState);
  window->setGeometry(normal);
  // A window closed while minimised comes back in its normal place: a
  // program that starts as an icon looks as if it did not start.
  if (state == kStateMaximised) window->setWindowState(Qt::WindowMaximized);
  return true;
}
