#include "EditScript.h"

#include "editor/EditSession.h"
#include "editor/MapGridModel.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStyles.h"

#include <QRegularExpression>
#include <QStringList>

#include <map>

namespace {

using TKind = TEditScript::TKind;

[[noreturn]] void Fail(int line, const QString& message) {
  throw TScriptError(QStringLiteral("line %1: %2").arg(line).arg(message));
}

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// The argument's position in a list of choices, or a failure naming them.
int Choice(int line, const QString& command, const QStringList& args, const QStringList& choices) {
  const QString expected = choices.join(QLatin1Char('|'));
  if (args.size() != 1)
    Fail(line, QStringLiteral("%1 takes one argument: %2").arg(command, expected));
  const int index = choices.indexOf(args[0]);
  if (index < 0)
    Fail(line, QStringLiteral("bad argument %1 for %2 (expected %3)")
                   .arg(Quoted(args[0]), command, expected));
  return index;
}

int Integer(int line, const QString& command, const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok) Fail(line, QStringLiteral("bad number %1 for %2").arg(Quoted(text), command));
  return value;
}

// The rest of a line after the command, for names with blanks; surrounding
// double quotes are dropped.
QString NameArgument(int line, const QString& command, const QString& rest) {
  QString name = rest.trimmed();
  if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
    name = name.mid(1, name.size() - 2);
  if (name.isEmpty()) Fail(line, QStringLiteral("%1 needs a name").arg(command));
  return name;
}

const std::map<QString, TKind>& Commands() {
  static const std::map<QString, TKind> commands = {
      {QStringLiteral("tileset"), TKind::Tileset},
      {QStringLiteral("group"), TKind::Group},
      {QStringLiteral("tool"), TKind::Tool},
      {QStringLiteral("walls"), TKind::Walls},
      {QStringLiteral("erase-layer"), TKind::EraseLayer},
      {QStringLiteral("rotate"), TKind::Rotate},
      {QStringLiteral("flip"), TKind::Flip},
      {QStringLiteral("seed"), TKind::Seed},
      {QStringLiteral("drag"), TKind::Drag},
      {QStringLiteral("addcol"), TKind::AddCol},
      {QStringLiteral("addrow"), TKind::AddRow},
      {QStringLiteral("delcol"), TKind::DelCol},
      {QStringLiteral("delrow"), TKind::DelRow},
      {QStringLiteral("nudge"), TKind::Nudge},
      {QStringLiteral("undo"), TKind::Undo},
      {QStringLiteral("redo"), TKind::Redo},
  };
  return commands;
}

// Looks a name up exactly first, then without regard to case.
template <typename TList>
int FindByName(const TList& names, const QString& name) {
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < int(names.size()); ++i)
      if (names[size_t(i)].compare(name, pass == 0 ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
        return i;
  return -1;
}

// With the sub-cell selection objects use, an edge names the point the
// object's centre goes to: the middle of that edge of the cell. The object's
// top-left sub-cell is then the last one before the edge, which for the top
// and left edges lies in the neighbouring cell.
TCellPoint ObjectOnEdge(int line, const TCellPoint& point) {
  TCellPoint moved = point;
  moved.Edge.reset();
  if (!point.Edge) return moved;
  switch (*point.Edge) {
    case TCellEdge::Top:
      if (point.Row == 0) Fail(line, QStringLiteral("edge top of row 0 lies outside the map"));
      moved.Row = point.Row - 1;
      moved.SubRow = 1;
      break;
    case TCellEdge::Right:
      moved.SubCol = 1;
      break;
    case TCellEdge::Bottom:
      moved.SubRow = 1;
      break;
    case TCellEdge::Left:
      if (point.Col == 0) Fail(line, QStringLiteral("edge left of column 0 lies outside the map"));
      moved.Col = point.Col - 1;
      moved.SubCol = 1;
      break;
  }
  return moved;
}

// Picks a group of the current tileset in the palette, as a click on it
// does.
void SelectGroup(TEditSession& session, int line, const QString& name) {
  TPlacementEngine& engine = session.Engine();
  TPalette& palette = session.Palette();
  TTileSet* tileSet = engine.CurrentTileset();
  int found = -1;
  std::vector<QString> names;
  if (tileSet && tileSet->Loaded())
    for (int i = 0; i < tileSet->GroupCount(); ++i)
      names.push_back(tileSet->GroupAt(i)->GroupName());
  found = FindByName(names, name);
  if (found < 0)
    Fail(line, QStringLiteral("the tileset %1 has no group named %2")
                   .arg(Quoted(tileSet ? tileSet->TilesetName() : QString()), Quoted(name)));
  TTileGroup* group = tileSet->GroupAt(found);
  // A press on the palette leaves the eraser, as the mouse does.
  engine.grdTileGroupsMouseDown();
  const QStringList& categories = palette.Categories();
  const int category = categories.indexOf(QRegularExpression(
      QRegularExpression::escape(group->Category()), QRegularExpression::CaseInsensitiveOption));
  if (category >= 0 && category != palette.CategoryIndex()) palette.cbxCategoryChange(category);
  for (int i = 0; i < palette.Groups().Count(); ++i)
    if (palette.Groups().At(i) == group) palette.grdTileGroupsSelect(i);
}

// Whether the current group is a door of that name.
bool IsDoorGroupName(TEditSession& session, const QString& name) {
  const TTileGroup* group = session.Engine().CurrentGroup();
  return group && group->GroupName().compare(name, Qt::CaseInsensitive) == 0 &&
         group->Category().compare(QLatin1String("Doors"), Qt::CaseInsensitive) == 0;
}

}  // namespace

TEditScript TEditScript::Parse(const QString& text) {
  TEditScript script;
  const QStringList lines = text.split(QLatin1Char('\n'));
  static const QRegularExpression kBlanks(QStringLiteral("\\s+"));
  for (int i = 0; i < lines.size(); ++i) {
    const int line = i + 1;
    QString content = lines[i];
    const int hash = content.indexOf(QLatin1Char('#'));
    if (hash >= 0) content.truncate(hash);
    content = content.trimmed();
    if (content.isEmpty()) continue;

    const int blank = content.indexOf(kBlanks);
    const QString command = blank < 0 ? content : content.left(blank);
    const QString rest = blank < 0 ? QString() : content.mid(blank);
    const QStringList args = rest.split(kBlanks, Qt::SkipEmptyParts);
    const auto found = Commands().find(command);
    if (found == Commands().end())
      Fail(line, QStringLiteral("unknown command %1").arg(Quoted(command)));

    TStep step;
    step.Line = line;
    step.Kind = found->second;
    switch (step.Kind) {
      case TKind::Tileset:
      case TKind::Group:
      case TKind::Walls:
        step.Name = NameArgument(line, command, rest);
        break;
      case TKind::Tool:
        step.Value =
            Choice(line, command, args,
                   {QStringLiteral("tiles"), QStringLiteral("walls"), QStringLiteral("erase"),
                    QStringLiteral("rooms"), QStringLiteral("doors"), QStringLiteral("fill")});
        break;
      case TKind::EraseLayer: {
        // Erase menu tags: 0 floor, 1 objects, 2 walls, 3 all.
        const int choice = Choice(line, command, args,
                                  {QStringLiteral("all"), QStringLiteral("base"),
                                   QStringLiteral("objects"), QStringLiteral("walls")});
        step.Value = choice == 0 ? 3 : choice - 1;
        break;
      }
      case TKind::Rotate:
        step.Value = Choice(line, command, args, {QStringLiteral("cw"), QStringLiteral("ccw")});
        break;
      case TKind::Flip:
        step.Value = 2 + Choice(line, command, args, {QStringLiteral("h"), QStringLiteral("v")});
        break;
      case TKind::Seed: {
        if (args.size() != 1) Fail(line, QStringLiteral("seed takes one number"));
        bool ok = false;
        step.Seed = args[0].toUInt(&ok);
        if (!ok)
          Fail(line, QStringLiteral("bad number %1 for seed (expected 0 to 4294967295)")
                         .arg(Quoted(args[0])));
        break;
      }
      case TKind::Drag: {
        if (args.size() < 4) Fail(line, QStringLiteral("drag needs C0 R0 C1 R1"));
        step.From.Col = Integer(line, command, args[0]);
        step.From.Row = Integer(line, command, args[1]);
        step.To.Col = Integer(line, command, args[2]);
        step.To.Row = Integer(line, command, args[3]);
        bool sub = false;
        bool edge = false;
        for (int a = 4; a < args.size();) {
          if (args[a] == QLatin1String("sub") && !sub) {
            if (a + 2 >= args.size()) Fail(line, QStringLiteral("sub needs SX SY"));
            for (int k = 0; k < 2; ++k) {
              const int value = Integer(line, command, args[a + 1 + k]);
              if (value < 0 || value > 1)
                Fail(line, QStringLiteral("bad sub-cell %1 (expected 0 or 1)")
                               .arg(Quoted(args[a + 1 + k])));
              (k == 0 ? step.From.SubCol : step.From.SubRow) = value;
            }
            sub = true;
            a += 3;
          } else if (args[a] == QLatin1String("edge") && !edge) {
            static const TCellEdge kEdges[] = {TCellEdge::Top, TCellEdge::Right, TCellEdge::Bottom,
                                               TCellEdge::Left};
            step.From.Edge = kEdges[Choice(line, QStringLiteral("edge"), args.mid(a + 1, 1),
                                           {QStringLiteral("top"), QStringLiteral("right"),
                                            QStringLiteral("bottom"), QStringLiteral("left")})];
            edge = true;
            a += 2;
          } else {
            Fail(line, QStringLiteral("bad argument %1 for drag").arg(Quoted(args[a])));
          }
        }
        step.To.SubCol = step.From.SubCol;
        step.To.SubRow = step.From.SubRow;
        step.To.Edge = step.From.Edge;
        break;
      }
      case TKind::Nudge: {
        static const TNudgeDirection kNudges[] = {TNudgeDirection::Left, TNudgeDirection::Right,
                                                  TNudgeDirection::Up, TNudgeDirection::Down};
        step.Nudge = kNudges[Choice(line, command, args,
                                    {QStringLiteral("left"), QStringLiteral("right"),
                                     QStringLiteral("up"), QStringLiteral("down")})];
        break;
      }
      case TKind::AddCol:
      case TKind::AddRow:
      case TKind::DelCol:
      case TKind::DelRow:
      case TKind::Undo:
      case TKind::Redo:
        if (!args.isEmpty()) Fail(line, QStringLiteral("%1 takes no arguments").arg(command));
        break;
    }
    script.fSteps.push_back(step);
  }
  return script;
}

void TEditScript::Run(TEditSession& session) const {
  TRunState state;
  for (const TStep& step : fSteps)
    RunStep(session, step, state);
}

void TEditScript::RunStep(TEditSession& session, const TStep& step, TRunState& state) const {
  TPlacementEngine& engine = session.Engine();
  TPalette& palette = session.Palette();
  const int line = step.Line;
  const bool walls = engine.Tool() == etPlaceWalls;
  // The tools that take a floor or door group and a wall style side by side.
  const bool building =
      engine.Tool() == etRooms || engine.Tool() == etDoors || engine.Tool() == etFill;
  switch (step.Kind) {
    case TKind::Tileset: {
      if (walls) Fail(line, QStringLiteral("tileset: not available while the wall tool is active"));
      const QStringList names = palette.TilesetNames();
      const int index = FindByName(std::vector<QString>(names.begin(), names.end()), step.Name);
      if (index < 0)
        Fail(line, QStringLiteral("no installed tileset is named %1").arg(Quoted(step.Name)));
      palette.cbxTilesetChange(index);
      TTileSet* tileSet = engine.CurrentTileset();
      if (!tileSet || !tileSet->Loaded())
        Fail(line, QStringLiteral("the tileset %1 could not be loaded").arg(Quoted(step.Name)));
      break;
    }
    case TKind::Group:
      if (walls)
        Fail(line, QStringLiteral("group: the wall tool is active (choose a style with walls)"));
      SelectGroup(session, line, step.Name);
      state.Groups[IsDoorGroupName(session, step.Name) ? 1 : 0] = step.Name;
      break;
    case TKind::Tool:
      switch (step.Value) {
        case 0:
          engine.gaRoomExecute();
          break;
        case 1:
          if (session.Tilesets().Count() == 0 || !session.Tilesets().Items(0))
            Fail(line, QStringLiteral("walls are disabled: no wall tileset is installed"));
          engine.gaWallExecute();
          break;
        case 2:
          engine.gaEraserExecute();
          break;
        case 3:
          engine.gaRoomsExecute();
          break;
        case 4:
          engine.gaDoorsExecute();
          break;
        default:
          engine.gaFillExecute();
          break;
      }
      // A floor or door named before the tool (the wall tool in between
      // brings back the palette's first group) is the tool's group.
      if (step.Value >= 3) {
        const QString& name = state.Groups[step.Value == 4 ? 1 : 0];
        const TTileGroup* group = engine.CurrentGroup();
        if (!name.isEmpty() && !(group && group->GroupName() == name))
          SelectGroup(session, line, name);
      }
      break;
    case TKind::Walls: {
      if (session.Tilesets().Count() == 0 || !session.Tilesets().Items(0))
        Fail(line, QStringLiteral("walls are disabled: no wall tileset is installed"));
      // The palette lists the wall styles in WallStyles' order.
      const std::vector<TWallStyle> styles = WallStyles(session.Tilesets());
      const int index = FindWallStyle(styles, step.Name);
      const auto unknown = [&] {
        QStringList shared;
        for (const TWallStyle& style : styles)
          if (style.Group->GroupName().compare(step.Name, Qt::CaseInsensitive) == 0)
            shared << Quoted(style.Name);
        if (shared.size() > 1)
          Fail(line, QStringLiteral("several wall styles are named %1: name one of %2")
                         .arg(Quoted(step.Name), shared.join(QStringLiteral(", "))));
        Fail(line, QStringLiteral("no wall style is named %1").arg(Quoted(step.Name)));
      };
      if (building) {
        // The rooms' wall style, chosen in the box beside the palette.
        if (index < 0) unknown();
        engine.SetWallStyle(styles[size_t(index)].Group);
        break;
      }
      if (!walls) engine.gaWallExecute();
      if (index < 0 || index >= palette.Groups().Count()) unknown();
      palette.grdTileGroupsSelect(index);
      break;
    }
    case TKind::EraseLayer:
      engine.mnuEraseBaseClick(step.Value);
      break;
    case TKind::Rotate:
    case TKind::Flip:
      if (!engine.OrientationCommandsEnabled())
        Fail(line, walls ? QStringLiteral("walls cannot be rotated or flipped")
                         : QStringLiteral("no tile group is selected"));
      engine.TransformPlacement(TOrientCommand(step.Value));
      break;
    case TKind::Seed:
      engine.SetSeed(step.Seed);
      break;
    case TKind::Drag:
      if (engine.Tool() == etDoors) {
        if (!step.From.Edge) Fail(line, QStringLiteral("a door needs an edge"));
        // The edge named, not the nearest wall the pointer would snap to.
        const TEdgeSnap* snap = session.Grid().EdgeSnap();
        session.Grid().SetEdgeSnap(nullptr);
        try {
          DragOnGrid(session.Grid(), step.From, step.From);
        } catch (...) {
          session.Grid().SetEdgeSnap(snap);
          throw;
        }
        session.Grid().SetEdgeSnap(snap);
        break;
      }
      // Walls and whole-cell floors keep the grid's own reading of an edge.
      if (session.Grid().SelectType() == TSelectType::SubCell)
        DragOnGrid(session.Grid(), ObjectOnEdge(line, step.From), ObjectOnEdge(line, step.To));
      else
        DragOnGrid(session.Grid(), step.From, step.To);
      break;
    case TKind::AddCol:
      engine.gaAddColExecute();
      break;
    case TKind::AddRow:
      engine.gaAddRowExecute();
      break;
    case TKind::DelCol:
      engine.gaDelColExecute();
      break;
    case TKind::DelRow:
      engine.gaDelRowExecute();
      break;
    case TKind::Nudge:
      engine.NudgeMap(step.Nudge);
      break;
    case TKind::Undo:
      engine.eaUndoExecute();
      break;
    case TKind::Redo:
      engine.eaRedoExecute();
      break;
  }
}
