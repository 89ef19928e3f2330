#pragma once

#include <QDockWidget>
#include <QString>

class QMainWindow;
class TMapGridModel;
class TMapOverview;

// The overview of the current map as a dock of the main window: shown or
// hidden, docked at a side or floating. Where it was at the last exit is kept
// in the settings group of its own, "1.00.000/Overview": "Visible" and
// "Floating" (1 or 0), "Area" (Left, Right, Top or Bottom) and "Size" (its
// width docked at a side, its height docked at the top or bottom); a
// floating dock's window placement lies below it, in "Overview/dckOverview".
class TOverviewDock : public QDockWidget {
 public:
  // The overview follows the grid (not owned) of the window.
  TOverviewDock(TMapGridModel& grid, QMainWindow* window);

  TMapOverview* Overview() const { return fOverview; }

  // Puts the dock where the settings say, or, the first time and for values
  // that make no sense, shown at the right.
  void Restore();
  // Raises TError when the settings file cannot be written.
  void Save();

  static const QString kKey;

 private:
  QMainWindow* fWindow;
  TMapOverview* fOverview;
};
