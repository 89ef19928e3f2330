#pragma once

#include <functional>

class QAction;
class QMenu;
class QWidget;
class TColorStatusBar;
class TFileCommands;

// Pieces of the main window that only need building: its status bar and
// the recent files at the foot of the File menu.

// The status bar's panels: the modified mark, the grid size, the group.
constexpr int kModifiedPanel = 0;
constexpr int kGridSizePanel = 1;
constexpr int kGroupPanel = 2;

// The status bar with its three panels; the grid size panel shows every
// grid size's name whole, in whatever font and at whatever scale the screen
// gives.
TColorStatusBar* NewMainStatusBar(QWidget* owner);

// Puts the recent files after the menu's last entry `after` (File > Exit),
// replacing those put there before; a click opens the file through the
// file commands. Nothing changes while the list is turned off.
void FillRecentFilesMenu(QMenu& menu, QAction* after, TFileCommands& files);

// Opens the menu where the widget is right-clicked, after `before` has
// brought the menu's commands up to date.
void OfferContextMenu(QWidget& widget, QMenu& menu,
                      const std::function<void()>& before = std::function<void()>());
