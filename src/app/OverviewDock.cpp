#include "OverviewDock.h"

#include "WindowPlacement.h"
#include "app/settings/SettingsFile.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StringBag.h"
#include "editor/controls/MapOverview.h"

#include <QMainWindow>
#include <QSettings>

#include <algorithm>

const QString TOverviewDock::kKey =
    QStringLiteral("Software\\Varnholt\\Tessellan\\1.00.000\\Overview");

namespace {

constexpr int kDefaultSize = 200;
// The narrowest window that shows the overview before the user chooses.
constexpr int kRoomyWindowWidth = 960;
// A docked size the window can still hold beside the map.
constexpr int kMinimumSize = 60;
constexpr int kMaximumSize = 2000;

const struct {
  Qt::DockWidgetArea Area;
  const char* Name;
} kAreas[] = {{Qt::LeftDockWidgetArea, "Left"},
              {Qt::RightDockWidgetArea, "Right"},
              {Qt::TopDockWidgetArea, "Top"},
              {Qt::BottomDockWidgetArea, "Bottom"}};

bool Across(Qt::DockWidgetArea area) {
  return area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
}

}  // namespace

TOverviewDock::TOverviewDock(TMapGridModel& grid, QMainWindow* window)
    : QDockWidget(QStringLiteral("Overview"), window), fWindow(window) {
  setObjectName(QStringLiteral("dckOverview"));
  fOverview = new TMapOverview(grid, this);
  fOverview->setObjectName(QStringLiteral("ovwMap"));
  setWidget(fOverview);
}

void TOverviewDock::Restore() {
  auto store = OpenSettingsStore();
  store->beginGroup(RegistryGroup(kKey));
  const QString areaName = store->value(QStringLiteral("Area")).toString();
  Qt::DockWidgetArea area = Qt::RightDockWidgetArea;
  for (const auto& entry : kAreas)
    if (areaName == QLatin1String(entry.Name)) area = entry.Area;
  bool ok = false;
  int size = store->value(QStringLiteral("Size")).toInt(&ok);
  if (!ok || size < kMinimumSize || size > kMaximumSize) size = kDefaultSize;
  const bool floating = store->value(QStringLiteral("Floating")).toString() == QLatin1String("1");
  // Until the user chooses, the overview shows only where the window
  // leaves the map room beside it: in the smallest window it would squeeze
  // the map and push the map's tools behind the toolbar's overflow arrow.
  const QVariant shown = store->value(QStringLiteral("Visible"));
  const bool visible = shown.isValid() ? shown.toString() != QLatin1String("0")
                                       : fWindow->width() >= kRoomyWindowWidth;
  store->endGroup();

  fWindow->addDockWidget(area, this);
  fWindow->resizeDocks({this}, {size}, Across(area) ? Qt::Vertical : Qt::Horizontal);
  // A floating dock whose placement is gone or off every screen docks.
  if (floating) {
    setFloating(true);
    if (!RestoreWindowPlacement(this, kKey)) setFloating(false);
  }
  setVisible(visible);
}

void TOverviewDock::Save() {
  const Qt::DockWidgetArea area = fWindow->dockWidgetArea(this);
  QString areaName = QStringLiteral("Right");
  for (const auto& entry : kAreas)
    if (area == entry.Area) areaName = QLatin1String(entry.Name);
  const int size = Across(area) ? height() : width();
  ChangeSettingsFile([&](QSettings& store) {
    store.beginGroup(RegistryGroup(kKey));
    store.setValue(QStringLiteral("Visible"),
                   isHidden() ? QStringLiteral("0") : QStringLiteral("1"));
    store.setValue(QStringLiteral("Floating"),
                   isFloating() ? QStringLiteral("1") : QStringLiteral("0"));
    store.setValue(QStringLiteral("Area"), areaName);
    if (!isFloating()) store.setValue(QStringLiteral("Size"), size);
    store.endGroup();
  });
  if (isFloating()) SaveWindowPlacement(this, kKey);
}
