// A wall style of the user's own, from the Tileset Editor to the wall tool,
// across a restart and into the Universal VTT export; then two styles of one
// name told apart, and the style's tileset removed under an open map.
#include "WindowTestSupport.h"
#include "app/PaletteColumn.h"
#include "app/TilesetInstall.h"
#include "app/settings/TilesetListStore.h"
#include "app/tileseteditor/frmTilesetEditor.h"
#include "editor/EditScript.h"
#include "editor/Palette.h"
#include "editor/controls/ArrangeGrid.h"
#include "editor/controls/MapGrid.h"
#include "export/VttGeometry.h"
#include "map/TileMapObjects.h"
#include "support/ScriptedMessages.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStrip.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QSettings>

#include <map>

namespace {

// A wall strip put together from twelve piece pictures, each a square with
// a dark band along the sides its piece walls off (posts: a block in their
// corner), on a transparent ground.
QString WriteStrip(const QString& path, const QColor& colour) {
  constexpr int kSize = 100;
  constexpr int kBand = 20;
  // Sides per piece: 1 top, 2 right, 4 bottom, 8 left; posts name a corner.
  const int sides[kWallStripPieces] = {9, 3, 6, 12, 1, 2, 4, 8, 9, 3, 6, 12};
  QImage strip(WallStripSize(kSize), QImage::Format_ARGB32);
  strip.fill(Qt::transparent);
  QPainter painter(&strip);
  for (int n = 0; n < kWallStripPieces; ++n) {
    QImage piece(kSize, kSize, QImage::Format_ARGB32);
    piece.fill(Qt::transparent);
    QPainter p(&piece);
    const bool post = n >= 8;
    const int s = sides[n];
    const int len = post ? kBand : kSize;
    if (s & 1) p.fillRect(s & 8 || !post ? 0 : kSize - len, 0, len, kBand, colour);
    if (s & 4) p.fillRect(s & 8 || !post ? 0 : kSize - len, kSize - kBand, len, kBand, colour);
    if (s & 8) p.fillRect(0, s & 1 || !post ? 0 : kSize - len, kBand, len, colour);
    if (s & 2) p.fillRect(kSize - kBand, s & 1 || !post ? 0 : kSize - len, kBand, len, colour);
    p.end();
    painter.drawImage(n * kSize, 0, piece);
  }
  painter.end();
  EXPECT_TRUE(strip.save(path));
  return path;
}

// Each wall sub-cell as (piece, quadrant) of the style it was drawn with.
using TWallPieces = std::map<std::pair<int, int>, std::pair<int, int>>;

TWallPieces PiecesOf(const TTileMap& map, const TTileGroup& style) {
  TWallPieces pieces;
  for (int x = 0; x < map.Width(); ++x)
    for (int y = 0; y < map.Height(); ++y)
      if (const TMapTile* placed = map.GetTile(mlWall, x, y))
        for (int n = 0; n < kWallStripPieces; ++n)
          for (int q = 0; q < 4; ++q)
            if (style.TileAt(n, 0, 0)->SubTile(q).Guid() == placed->SubTile()->Guid())
              pieces[{x, y}] = {n, q};
  return pieces;
}

// A room of 4 × 3 squares from cell (1, 1), split by a wall down column 3,
// and beside it two walls meeting at a point, which joins them with posts.
const char* const kRoom =
    "drag 1 1 4 1 edge top\ndrag 1 3 4 3 edge bottom\ndrag 1 1 1 3 edge left\n"
    "drag 4 1 4 3 edge right\ndrag 3 1 3 3 edge left\n"
    "drag 6 1 6 1 edge right\ndrag 7 2 7 2 edge top\n";

std::vector<std::vector<QPointF>> RoomOutline() {
  const auto line = [](double x0, double y0, double x1, double y1) {
    return std::vector<QPointF>{{x0, y0}, {x1, y1}};
  };
  return {line(1, 1, 5, 1), line(7, 2, 8, 2), line(1, 4, 5, 4), line(1, 1, 1, 4),
          line(3, 1, 3, 4), line(5, 1, 5, 4), line(7, 1, 7, 2)};
}

}  // namespace

class TUserWallStylesTest : public TPrivateSettingsWindowTest {
 protected:
  void AfterWindowClosed() override {
    // The other window tests expect the supplied tilesets alone.
    for (const QString& name : TilesetList().AddedWallFileNames())
      QFile::remove(QDir(TilesetList().Directory()).filePath(name));
    TilesetList().LoadInstalled(TilesetList().Directory());
  }

  QStringList WallStyleNames() const {
    QStringList names;
    for (int i = 0; i < window->Palette().NumItems(); ++i)
      names << window->Palette().ItemName(i);
    return names;
  }
  void Paint(const QString& script) { TEditScript::Parse(script).Run(window->Session()); }
  // Makes a wall tileset in the Tileset Editor from a strip and saves it
  // under a name the save dialog is given.
  void MakeWallTileset(const QString& strip, const QString& savedAs) {
    Run("taTilesetEditor");
    TfrmTilesetEditor* editor = window->TilesetEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->NewTileset(true));
    editor->AddPictureFile(strip);
    dialogs->Answers = {savedAs};
    ASSERT_TRUE(editor->Save());
  }
};

TEST_F(TUserWallStylesTest, AStyleFromTheEditorWallsARoomThatOutlivesARestartAndExports) {
  const QString folder = TilesetList().Directory();
  const QString brick = QDir(folder).filePath("Brick.wls");
  MakeWallTileset(WriteStrip(TempPath("Brick.png"), QColor(150, 60, 40)), brick);
  // The save dialog opened in the tileset folder, and what was saved there
  // is listed at once: on the wall tool, never in the tileset box.
  EXPECT_EQ(QDir(dialogs->Requests.back().Directory).canonicalPath(), QDir(folder).canonicalPath());
  EXPECT_EQ(ScriptedMessages().Shown.size(), 0u);
  EXPECT_EQ(window->Palette().TilesetNames(), QStringList{"ExampleTileset"});
  EXPECT_EQ(LoadAddedWallTilesets(), QStringList{"Brick.wls"});
  EXPECT_EQ(LoadAddedTilesets(), QStringList{});
  Run("gaWall");
  EXPECT_EQ(WallStyleNames(), (QStringList{"Standard", "Stone", "Brick"}));

  // The same room with a supplied style and with the user's: the same
  // corners, straight walls and posts in the same places.
  Paint(QStringLiteral("walls Standard\n") + kRoom);
  const TTileGroup* standard = window->Palette().Groups().At(0);
  const TWallPieces expected = PiecesOf(*window->CurrentMap(), *standard);
  int corners = 0;
  int posts = 0;
  for (const auto& placed : expected) {
    corners += placed.second.first < 4;
    posts += placed.second.first >= 8;
  }
  EXPECT_GT(corners, 0);
  EXPECT_GT(posts, 0);
  Run("faNewMap");
  Paint(QStringLiteral("walls Brick\n") + kRoom);
  EXPECT_EQ(window->Palette().StatusText(), "Brick");
  EXPECT_EQ(PiecesOf(*window->CurrentMap(), *window->Palette().Groups().At(2)), expected);
  const QString mapPath = TempPath("Room.tqm");
  window->CurrentMap()->SaveToFile(mapPath);

  // A restart: the style is listed again from the stored name, and the
  // reopened map's walls are still its pieces.
  window.reset();
  LoadInstalledTilesets(TilesetList(), folder);
  EXPECT_EQ(ScriptedMessages().Shown.size(), 0u);
  MakeWindow(mapPath);
  EXPECT_EQ(window->Palette().TilesetNames(), QStringList{"ExampleTileset"});
  Run("gaWall");
  ASSERT_EQ(WallStyleNames(), (QStringList{"Standard", "Stone", "Brick"}));
  EXPECT_EQ(PiecesOf(*window->CurrentMap(), *window->Palette().Groups().At(2)), expected);

  // The export knows the pieces by the installed style.
  const TVttGeometry geometry = VttGeometry(*window->CurrentMap(), &TilesetList());
  EXPECT_EQ(geometry.UnrecognisedWallPieces, 0);
  EXPECT_EQ(geometry.LineOfSight, RoomOutline());

  // A second style of the same name, from another file: both are told apart
  // by their files, in the palette and in scripts.
  MakeWallTileset(WriteStrip(TempPath("Brick.png"), QColor(90, 90, 100)),
                  QDir(folder).filePath("Brick2.wls"));
  EXPECT_EQ(WallStyleNames(),
            (QStringList{"Standard", "Stone", "Brick (Brick.wls)", "Brick (Brick2.wls)"}));
  try {
    Paint("walls Brick\n");
    ADD_FAILURE() << "a name two styles share was taken";
  } catch (const TScriptError& e) {
    EXPECT_EQ(e.Message(),
              "line 1: several wall styles are named \"Brick\": name one of "
              "\"Brick (Brick.wls)\", \"Brick (Brick2.wls)\"");
  }
  Paint("walls Brick (Brick2.wls)\n");
  EXPECT_EQ(window->Palette().Selected(), 3);

  // Removing the style's tileset (through the palette's menu while it is
  // selected) leaves the map with every wall it had.
  Paint("walls Brick (Brick.wls)\n");
  emit window->PaletteColumn()->Grid()->customContextMenuRequested(QPoint(4, 4));
  window->TilesetMenu()->close();
  EXPECT_TRUE(Action("faRemoveTileset")->isEnabled());
  ScriptedMessages().Answers = {TMsgAnswer::Yes};
  Run("faRemoveTileset");
  EXPECT_FALSE(QFile::exists(brick));
  EXPECT_EQ(LoadAddedWallTilesets(), QStringList{"Brick2.wls"});
  EXPECT_EQ(WallStyleNames(), (QStringList{"Standard", "Stone", "Brick"}));
  EXPECT_EQ(window->Palette().Selected(), 0);
  int walls = 0;
  for (int x = 0; x < window->CurrentMap()->Width(); ++x)
    for (int y = 0; y < window->CurrentMap()->Height(); ++y)
      walls += window->CurrentMap()->GetTile(mlWall, x, y) != nullptr;
  EXPECT_EQ(walls, int(expected.size()));
  window->MapGrid()->viewport()->grab();
  // The removed style's pieces are no longer known to the export.
  EXPECT_EQ(VttGeometry(*window->CurrentMap(), &TilesetList()).UnrecognisedWallPieces, walls);
}
