// Add Tileset and Remove Tileset in the main window: the checks before a
// file is installed, the copy in the tileset folder, the names kept in the
// settings across a restart, and removal.
#include "WindowTestSupport.h"
#include "app/PaletteColumn.h"
#include "app/TilesetInstall.h"
#include "app/settings/TilesetListStore.h"
#include "editor/Palette.h"
#include "editor/controls/MapGrid.h"
#include "map/TileMapObjects.h"
#include "support/ScriptedMessages.h"
#include "support/TilesetFiles.h"
#include "tiles/PictureCutter.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/TilesetWriter.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSettings>

namespace {

// A tileset file with one floor group of 2 × 1 squares cut from a picture.
void WriteFloorTileset(const QString& path, const QString& name, const QColor& colour) {
  TTileSet tileSet;
  tileSet.SetTilesetName(name);
  tileSet.SetAuthorName(QStringLiteral("A Tester"));
  QImage picture(140, 70, QImage::Format_RGB32);
  picture.fill(colour);
  QPainter(&picture).fillRect(70, 0, 70, 35, Qt::darkGray);
  TTileGroup& group = tileSet.AddGroup();
  group.SetGroupName(name + QStringLiteral(" Floor"));
  group.SetCategory(QStringLiteral("Floors"));
  CutPictureIntoGroup(picture, {2, 1, 20, std::nullopt}, group);
  SaveTilesetFile(tileSet, path);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<std::string> Captions() {
  std::vector<std::string> captions;
  for (const TMessage& message : ScriptedMessages().Shown)
    captions.push_back(message.Caption.toStdString());
  ScriptedMessages().Shown.clear();
  return captions;
}

}  // namespace

// The stored names go to a settings file of this test alone.
class TAddTilesetTest : public TPrivateSettingsWindowTest {
 protected:
  // Runs Add Tileset on a file, answering its questions.
  void Add(const QString& path, std::deque<TMsgAnswer> answers = {}) {
    ScriptedMessages().Answers = std::move(answers);
    dialogs->Answers = {path};
    Run("faAddTileset");
  }
  QString Installed(const QString& name) const {
    return QDir(TilesetList().Directory()).filePath(name);
  }
  QString ShownTilesetName() const { return window->PaletteColumn()->TilesetBox()->currentText(); }
  void Show(const QString& fileName) {
    const int index = TilesetList().IndexOfFile(Installed(fileName));
    ASSERT_GE(index, 1);
    window->Palette().SelectTileset(index);
  }
};

TEST_F(TAddTilesetTest, AddedTilesetsAreCheckedCopiedKeptAndRemoved) {
  const int supplied = TilesetList().Count();
  const QByteArray example = Bytes(Installed("ExampleTileset.tls"));

  // A file that is no tileset: the loader's message, nothing installed.
  const QString broken = TempPath("Broken.tls");
  {
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a tileset");
  }
  Add(broken);
  ASSERT_EQ(dialogs->Requests.size(), 1u);
  const TFileDialogRequest& request = dialogs->Requests.front();
  EXPECT_EQ(request.Kind, TFileDialogRequest::Open);
  EXPECT_EQ(request.Title, "Add Tileset");
  EXPECT_EQ(request.Filter, "Tessellan Tilesets (*.tls)|*.tls|All Files (*.*)|*.*");
  EXPECT_EQ(request.DefaultExt, "TLS");
  EXPECT_EQ(Captions(), std::vector<std::string>{"Invalid or Corrupt Tileset"});
  EXPECT_EQ(TilesetList().Count(), supplied);
  EXPECT_FALSE(QFile::exists(Installed("Broken.tls")));

  // A valid file, added while the wall styles show: copied, listed, stored
  // and shown in the palette, ready to paint with.
  const QString meadow = TempPath("Meadow.tls");
  WriteFloorTileset(meadow, "Meadow", QColor(90, 140, 40));
  Run("gaWall");
  Add(meadow);
  EXPECT_EQ(Captions(), std::vector<std::string>{});
  ASSERT_EQ(TilesetList().Count(), supplied + 1);
  EXPECT_EQ(Bytes(Installed("Meadow.tls")), Bytes(meadow));
  EXPECT_EQ(LoadAddedTilesets(), QStringList{"Meadow.tls"});
  EXPECT_EQ(ShownTilesetName(), "Meadow");
  EXPECT_TRUE(window->Palette().TilesetControlsVisible());
  ASSERT_EQ(window->Palette().Groups().Count(), 1);
  EXPECT_TRUE(Action("faRemoveTileset")->isEnabled());
  EXPECT_EQ(Entries(window->TilesetMenu()),
            (std::vector<std::string>{"Add &Tileset...", "&Remove Tileset"}));
  DragOnGrid(0, 0, 2, 1);
  const TTileGroup* floor = window->Palette().Groups().At(0);
  const TMapTile* placed = window->CurrentMap()->GetTile(mlBase, 0, 0);
  ASSERT_NE(placed, nullptr);
  // Random placement picks any of the group's tiles.
  QStringList guids;
  for (int x = 0; x < floor->PatWidth(); ++x)
    for (int quadrant = 0; quadrant < 4; ++quadrant)
      guids << floor->TileAt(x, 0, 0)->SubTile(quadrant).Guid();
  EXPECT_TRUE(guids.contains(placed->SubTile()->Guid()));

  // The same name again: asked, and replaced only on Yes.
  const QString newer = temp.filePath("v2/Meadow.tls");
  ASSERT_TRUE(QDir().mkpath(temp.filePath("v2")));
  WriteFloorTileset(newer, "Meadow v2", QColor(40, 90, 140));
  Add(newer, {TMsgAnswer::No});
  EXPECT_EQ(Captions(), std::vector<std::string>{"Add Tileset"});
  EXPECT_EQ(Bytes(Installed("Meadow.tls")), Bytes(meadow));
  Add(newer, {TMsgAnswer::Yes});
  EXPECT_EQ(Captions(), std::vector<std::string>{"Add Tileset"});
  EXPECT_EQ(Bytes(Installed("Meadow.tls")), Bytes(newer));
  EXPECT_EQ(TilesetList().Count(), supplied + 1);
  EXPECT_EQ(ShownTilesetName(), "Meadow v2");

  // A supplied tileset's name is refused, whatever the file holds.
  QFile::copy(meadow, TempPath("ExampleTileset.tls"));
  Add(TempPath("ExampleTileset.tls"), {TMsgAnswer::Yes});
  EXPECT_EQ(Captions(), std::vector<std::string>{"Add Tileset"});
  EXPECT_EQ(Bytes(Installed("ExampleTileset.tls")), example);

  // A read-only file installs as a normal copy the user can remove later;
  // the user's own file stays as it was.
  const QString cliffs = TempPath("Cliffs.tls");
  WriteFloorTileset(cliffs, "Cliffs", QColor(120, 120, 110));
  SetWritable(cliffs, false);
  Add(cliffs);
  EXPECT_EQ(Captions(), std::vector<std::string>{});
  EXPECT_EQ(ShownTilesetName(), "Cliffs");
  EXPECT_TRUE(QFileInfo(Installed("Cliffs.tls")).permissions() & QFileDevice::WriteOwner);
  EXPECT_FALSE(QFileInfo(cliffs).permissions() & QFileDevice::WriteOwner);
  EXPECT_EQ(LoadAddedTilesets(), (QStringList{"Meadow.tls", "Cliffs.tls"}));

  // A restart lists the added ones after the supplied ones; names whose
  // files are gone, or that point out of the folder, are dropped with one
  // message for all.
  window.reset();
  SaveAddedTilesets({"Meadow.tls", "Gone.tls", "../Cliffs.tls", "Cliffs.tls", "Meadow.tls"});
  LoadInstalledTilesets(TilesetList(), TilesetList().Directory());
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, "Error Loading Tilesets");
  EXPECT_TRUE(
      ScriptedMessages().Shown[0].Text.contains("\r\n\r\nGone.tls\r\n../Cliffs.tls\r\n\r\n"));
  ScriptedMessages().Shown.clear();
  EXPECT_EQ(TilesetList().AddedFileNames(), (QStringList{"Meadow.tls", "Cliffs.tls"}));
  EXPECT_EQ(LoadAddedTilesets(), (QStringList{"Meadow.tls", "Cliffs.tls"}));
  MakeWindow();
  EXPECT_EQ(window->Palette().TilesetNames().size(), supplied + 1);

  // Removal: refused for a read-only tileset and a supplied one; an added
  // one leaves the list, the palette, the settings and the folder, and the
  // map keeps the tiles it painted.
  const QString cliffsCopy = Installed("Cliffs.tls");
  SetWritable(cliffsCopy, false);
  Show("Cliffs.tls");
  Run("faRemoveTileset");
  EXPECT_EQ(Captions(), std::vector<std::string>{"Remove Tileset"});
  EXPECT_TRUE(QFile::exists(cliffsCopy));
  window->Palette().SelectTileset(1);
  EXPECT_FALSE(Action("faRemoveTileset")->isEnabled());
  EXPECT_FALSE(window->Installer().Remove(TilesetList().Items(1)));
  EXPECT_EQ(Captions(), std::vector<std::string>{"Remove Tileset"});
  EXPECT_EQ(TilesetList().Count(), supplied + 2);

  Add(meadow, {TMsgAnswer::Yes});
  Captions();
  DragOnGrid(0, 0, 2, 1);
  const QString meadowCopy = Installed("Meadow.tls");
  ScriptedMessages().Answers = {TMsgAnswer::No};
  Run("faRemoveTileset");
  EXPECT_EQ(TilesetList().Count(), supplied + 2);
  ScriptedMessages().Answers = {TMsgAnswer::Yes};
  Run("faRemoveTileset");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Remove Tileset", "Remove Tileset"}));
  EXPECT_EQ(TilesetList().Count(), supplied + 1);
  EXPECT_FALSE(QFile::exists(meadowCopy));
  EXPECT_EQ(LoadAddedTilesets(), QStringList{"Cliffs.tls"});
  EXPECT_EQ(window->Palette().TilesetNames(), (QStringList{"ExampleTileset", "Cliffs"}));
  EXPECT_EQ(ShownTilesetName(), "ExampleTileset");
  EXPECT_NE(window->Engine().CurrentTileset(), nullptr);
  EXPECT_NE(window->CurrentMap()->GetTile(mlBase, 0, 0)->SubTile(), nullptr);
  window->MapGrid()->viewport()->grab();
}
