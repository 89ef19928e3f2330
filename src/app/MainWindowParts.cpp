#include "MainWindowParts.h"

#include "Application.h"
#include "FileCommands.h"
#include "map/GridSizes.h"
#include "widgets/ColorStatusBar.h"
#include "widgets/dmSharedBmpResources.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

TColorStatusBar* NewMainStatusBar(QWidget* owner) {
  auto* status = new TColorStatusBar(owner);
  status->setObjectName(QStringLiteral("sbMain"));
  status->AddPanels({24, 200, 50});
  QStringList gridSizeNames;
  for (const char* name : GridSizeNames)
    gridSizeNames << QString::fromUtf8(name);
  TColorStatusPanel* gridSizePanel = status->Panel(kGridSizePanel);
  gridSizePanel->SetWidth(std::max(gridSizePanel->Width(), status->PanelWidthFor(gridSizeNames)));
  status->SetImages(&dmSharedBmpResources().imgSmallButtons);
  status->Panel(kModifiedPanel)->SetAlignment(TStatusPanelAlignment::Center);
  return status;
}

void FillRecentFilesMenu(QMenu& menu, QAction* after, TFileCommands& files) {
  if (!files.HasRecentFiles()) return;
  const QList<QAction*> entries = menu.actions();
  for (qsizetype i = entries.indexOf(after) + 1; i < entries.size(); ++i) {
    menu.removeAction(entries[i]);
    // Separators and entries made here belong to the menu.
    if (entries[i]->parent() == &menu) delete entries[i];
  }
  menu.addSeparator();
  for (const TRecentFile& file : files.ShownRecentFiles()) {
    const int n = file.Number;
    QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(n).arg(file.Path));
    entry->setObjectName(QStringLiteral("mnuRecent%1").arg(n));
    QObject::connect(entry, &QAction::triggered, &menu,
                     Guarded([&files, n] { files.RecentFileClick(n); }));
  }
}

void OfferContextMenu(QWidget& widget, QMenu& menu, const std::function<void()>& before) {
  widget.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&widget, &QWidget::customContextMenuRequested, &menu,
                   [&widget, &menu, before](QPoint at) {
                     if (before) before();
                     menu.popup(widget.mapToGlobal(at));
                   });
}
