#pragma once

#include "base/Error.h"
#include "editor/GridDrag.h"
#include "map/SubCells.h"

#include <QString>

#include <vector>

class TEditSession;

// A script line that cannot be read or run; the message starts with the
// line number ("line 7: unknown command \"paint\"").
class TScriptError : public TError {
 public:
  using TError::TError;
};

// An edit script: one command per line, '#' starts a comment. It drives an
// edit session exactly as a user does with the mouse and the menus: choosing
// tilesets, groups, tools and wall styles in the palette, turning the group,
// dragging over the map grid (whose own rules make the selection the tool is
// applied to), the whole-map commands, undo and redo.
//
//   tileset NAME            group NAME
//   tool tiles|walls|erase|rooms|doors|fill
//   walls NAME              erase-layer all|base|objects|walls
//   rotate cw|ccw           flip h|v                seed N
//   drag C0 R0 C1 R1 [sub SX SY] [edge top|right|bottom|left]
//   addcol  addrow  delcol  delrow  nudge left|right|up|down  undo  redo
//
// With the wall tool an edge picks the cell edge the wall goes on; with
// objects it centres the object on the middle of that edge of the cell;
// with the door tool the door goes on that edge (no snapping). While the
// room, door or fill tool is active, walls NAME chooses the rooms' wall
// style and keeps the tool; otherwise it switches to the wall tool. The
// rooms take the wall style chosen last either way.
class TEditScript {
 public:
  // Reads a whole script; raises TScriptError at the first line that is not
  // a command with valid arguments.
  static TEditScript Parse(const QString& text);

  // Runs every command on a session whose painter has a current map and
  // whose palette has started; raises TScriptError at the first command that
  // cannot run (an unknown tileset or group, a tileset that fails to load, a
  // command the editor would not offer at that point).
  void Run(TEditSession& session) const;

  int Count() const { return int(fSteps.size()); }

  enum class TKind {
    Tileset,
    Group,
    Tool,
    Walls,
    EraseLayer,
    Rotate,
    Flip,
    Seed,
    Drag,
    AddCol,
    AddRow,
    DelCol,
    DelRow,
    Nudge,
    Undo,
    Redo
  };

 private:
  struct TStep {
    int Line = 0;
    TKind Kind = TKind::Undo;
    QString Name;   // tileset, group or wall style
    int Value = 0;  // tool, erase tag, command
    TNudgeDirection Nudge = TNudgeDirection::Up;
    quint32 Seed = 0;
    TCellPoint From;
    TCellPoint To;
  };

  // What a run remembers: the floor group and the door group named last.
  struct TRunState {
    QString Groups[2];
  };

  void RunStep(TEditSession& session, const TStep& step, TRunState& state) const;

  std::vector<TStep> fSteps;
};
