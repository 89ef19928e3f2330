// The Tileset Editor: a supplied tileset saved under a new name reads the
// same, groups made from pictures save to a file other readers accept and
// the palette picks up, the inputs it refuses, and the wall strip.
#include "WindowTestSupport.h"
#include "support/RunProgram.h"
#include "support/ScriptedMessages.h"
#include "support/StorageListing.h"

#include "app/tileseteditor/AddPictureDialog.h"
#include "app/tileseteditor/GroupPreview.h"
#include "app/tileseteditor/TilesetDocument.h"
#include "app/tileseteditor/frmTilesetEditor.h"
#include "base/Error.h"
#include "editor/Palette.h"
#include "storage/CompoundFile.h"
#include "storage/Storage.h"
#include "tiles/TileObjects.h"
#include "tiles/TileSet.h"
#include "tiles/TilesetList.h"
#include "tiles/WallStrip.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSet>
#include <QSpinBox>

#include <functional>

namespace {

// A round wooden table with a shadow on a transparent background, two
// squares by one at 100 pixels per square.
QImage TablePicture() {
  QImage picture(200, 100, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 90));
  painter.drawRoundedRect(QRectF(14, 16, 180, 78), 30, 30);
  QLinearGradient wood(0, 0, 0, 100);
  wood.setColorAt(0, QColor(160, 100, 50));
  wood.setColorAt(1, QColor(110, 64, 30));
  painter.setBrush(wood);
  painter.drawRoundedRect(QRectF(8, 8, 180, 78), 30, 30);
  painter.setPen(QPen(QColor(90, 50, 20), 2));
  for (int x = 30; x < 180; x += 22)
    painter.drawLine(x, 14, x + 6, 80);
  return picture;
}

// A sheet of two floors side by side, each one square at 70 pixels: slate
// with its joints, and grass; the corner pixel is magenta, used as no key.
QImage FloorSheet() {
  QImage sheet(140, 70, QImage::Format_RGB32);
  QPainter painter(&sheet);
  painter.fillRect(0, 0, 70, 70, QColor(88, 96, 104));
  painter.setPen(QColor(50, 54, 60));
  painter.drawLine(0, 35, 70, 35);
  painter.drawLine(35, 0, 35, 70);
  painter.fillRect(70, 0, 70, 70, QColor(70, 130, 50));
  painter.setPen(QColor(110, 170, 70));
  for (int i = 0; i < 12; ++i)
    painter.drawLine(72 + 5 * i, 60, 74 + 5 * i, 50);
  return sheet;
}

// The twelve pieces, each a solid colour of its own on a key-coloured band,
// so a piece's place in the group tells where it came from.
QImage WallStripPicture(int piece) {
  QImage strip(WallStripSize(piece), QImage::Format_RGB32);
  strip.fill(QColor(255, 0, 255));
  QPainter painter(&strip);
  for (int n = 0; n < kWallStripPieces; ++n)
    painter.fillRect(n * piece, 0, piece, piece / 2, QColor(20 * n, 100, 200 - 10 * n));
  return strip;
}

QJsonObject TilesetInfo(const QString& path) {
  const TProgramRun run = RunTool({QStringLiteral("tileset-info"), path});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  QJsonObject info = QJsonDocument::fromJson(run.Out).object();
  info.remove(QStringLiteral("ReadOnly"));
  return info;
}

void ExpectSamePixels(TTileSet& a, TTileSet& b) {
  ASSERT_EQ(a.GroupCount(), b.GroupCount());
  for (int g = 0; g < a.GroupCount(); ++g) {
    const TTileGroup& ga = *a.GroupAt(g);
    const TTileGroup& gb = *b.GroupAt(g);
    for (int x = 0; x < ga.PatWidth(); ++x)
      for (int y = 0; y < ga.PatHeight(); ++y) {
        ASSERT_EQ(ga.StoredTile(x, y) == nullptr, gb.StoredTile(x, y) == nullptr);
        if (!ga.StoredTile(x, y)) continue;
        for (int q = 0; q < 4; ++q)
          ASSERT_EQ(ga.StoredTile(x, y)->SubTile(q).Image(),
                    gb.StoredTile(x, y)->SubTile(q).Image())
              << ga.GroupName().toStdString() << ' ' << x << '.' << y << ' ' << q;
      }
  }
}

QStringList OlefileListing(const QString& path) {
  const TProgramRun run =
      RunProgram(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TESSELLAN_SOURCE_DIR "/tests/storage/olefile_check.py"),
                  QStringLiteral("list"), path},
                 60000);
  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  return QString::fromUtf8(run.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class TilesetEditor : public TWindowTest {
 protected:
  TfrmTilesetEditor& OpenEditor() {
    Run("taTilesetEditor");
    EXPECT_NE(window->TilesetEditor(), nullptr);
    return *window->TilesetEditor();
  }
};

// The supplied example tileset opens; Save asks for a new name, since the
// supplied file is rewritten at every start, and the copy reads the same.
TEST_F(TilesetEditor, SuppliedTilesetSavedUnderANewNameReadsTheSame) {
  EXPECT_TRUE(Action("taTilesetEditor")->isEnabled());
  TfrmTilesetEditor& editor = OpenEditor();
  EXPECT_TRUE(editor.isVisible());
  const QString supplied = TilesetList().Items(1)->FileName();
  ASSERT_TRUE(editor.OpenFile(supplied));
  TTilesetDocument& doc = editor.Document();
  EXPECT_EQ(doc.GroupCount(), 25);
  EXPECT_EQ(editor.GroupList()->count(), 25);
  EXPECT_TRUE(doc.NeedsNewName());

  // The new name is asked in the tileset folder; saved elsewhere, the copy
  // is offered for adding (not now).
  const QString copy = TempPath(QStringLiteral("MyExample.tls"));
  dialogs->Answers = {copy};
  ScriptedMessages().Answers = {TMsgAnswer::No};
  ASSERT_TRUE(editor.Save());
  ASSERT_EQ(dialogs->Requests.size(), 1u);
  EXPECT_EQ(dialogs->Requests[0].Kind, TFileDialogRequest::Save);
  EXPECT_EQ(dialogs->Requests[0].Directory, TilesetList().Directory());
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, "Add Tileset");
  ScriptedMessages().Shown.clear();
  EXPECT_EQ(TilesetList().Count(), 2);
  EXPECT_NE(dialogs->Requests[0].FileName, QStringLiteral("ExampleTileset.tls"));
  EXPECT_EQ(doc.FileName(), copy);
  EXPECT_FALSE(doc.NeedsNewName());

  EXPECT_EQ(TilesetInfo(copy), TilesetInfo(supplied));
  TTileSet before;
  TTileSet after;
  ASSERT_TRUE(before.SetFileName(supplied) && before.Load());
  ASSERT_TRUE(after.SetFileName(copy) && after.Load());
  ExpectSamePixels(before, after);
  EXPECT_TRUE(ScriptedMessages().Shown.empty());
}

// A user's tileset from pictures: a table, a sheet of two floors, a copy
// and a reordering; the file passes olefile, loads, and once installed and
// shown in the palette, saving again shows the change there at once.
TEST_F(TilesetEditor, TilesetFromPicturesSavesLoadsAndReloadsInThePalette) {
  TfrmTilesetEditor& editor = OpenEditor();
  ASSERT_TRUE(editor.NewTileset(false));
  TTilesetDocument& doc = editor.Document();
  doc.TileSet().SetTilesetName(QStringLiteral("Tavern"));
  doc.TileSet().SetAuthorName(QStringLiteral("A. Mapper"));

  TPictureGroups table;
  table.Name = QStringLiteral("Round Table");
  table.Category = QStringLiteral("Placeables");
  table.FType = gtObjects;
  table.PlaceType = ptFixed;
  table.Across = 2;
  EXPECT_EQ(doc.AddPictureGroups(TablePicture(), table), 0);
  TPictureGroups floors;
  floors.Name = QStringLiteral("Floor");
  floors.Category = QStringLiteral("Floor tiles");
  floors.SheetColumns = 2;
  EXPECT_EQ(doc.AddPictureGroups(FloorSheet(), floors), 1);
  EXPECT_EQ(doc.Group(2).GroupName(), QStringLiteral("Floor 2"));
  EXPECT_EQ(doc.DuplicateGroup(0), 1);
  EXPECT_EQ(doc.Group(1).GroupName(), QStringLiteral("Round Table 2"));
  EXPECT_NE(doc.Group(1).StoredTile(1, 0)->SubTile(3).Guid(),
            doc.Group(0).StoredTile(1, 0)->SubTile(3).Guid());
  doc.MoveGroup(3, 0);  // "Floor 2" first
  doc.DeleteGroup(2);   // the copy of the table
  editor.ShowDocument();
  const QStringList expected = {"Floor 2", "Round Table", "Floor 1"};
  ASSERT_EQ(doc.GroupCount(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(doc.Group(i).GroupName(), expected[i]);
  EXPECT_EQ(doc.Group(1).StoredTile(0, 0)->SubTile(0).TransparentColor() & 0xFF000000, 0x02000000);

  // Saved outside the tileset folder, it is offered for adding: not now.
  const QString path = TempPath(QStringLiteral("Tavern.tls"));
  dialogs->Answers = {path};
  ScriptedMessages().Shown.clear();
  ScriptedMessages().Answers = {TMsgAnswer::No};
  ASSERT_TRUE(editor.Save());
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_TRUE(ScriptedMessages().Shown[0].Text.endsWith("Add this tileset to the tileset list?"));
  EXPECT_EQ(TilesetList().IndexOfFile(QDir(TilesetList().Directory()).filePath("Tavern.tls")), -1);
  const std::unique_ptr<TStorage> root = ReadCompoundFile(path, TOpenMode::Read);
  EXPECT_EQ(OlefileListing(path), ListTree(*root));
  TTileSet read;
  ASSERT_TRUE(read.SetFileName(path) && read.Load());
  ASSERT_EQ(read.GroupCount(), 3);
  EXPECT_EQ(read.GroupAt(1)->GroupName(), QStringLiteral("Round Table"));
  EXPECT_EQ(read.GroupAt(1)->PatWidth(), 2);
  ExpectSamePixels(doc.TileSet(), read);

  // Installed and shown in the palette, then edited and saved again.
  TTileSet& installed = TilesetList().Add();
  ASSERT_TRUE(installed.SetFileName(path));
  window->Palette().cbxTilesetChange(TilesetList().Count() - 2);
  ASSERT_EQ(window->Engine().CurrentTileset(), &installed);
  doc.Group(0).SetGroupName(QStringLiteral("Green Grass"));
  ASSERT_TRUE(editor.Save());
  QStringList shown;
  for (int i = 0; i < window->Palette().Groups().Count(); ++i)
    shown << window->Palette().Groups().At(i)->GroupName();
  EXPECT_TRUE(shown.contains(QStringLiteral("Green Grass")))
      << shown.join(QLatin1Char(',')).toStdString();
  window->Palette().cbxTilesetChange(0);
  TilesetList().Remove(&installed);
}

// Every refusal names the problem, and nothing is written.
TEST(TilesetDocument, RefusesInvalidInputWithAClearMessageAndWritesNothing) {
  QTemporaryDir dir;
  const QString supplied = dir.filePath(QStringLiteral("ExampleTileset.tls"));
  const QString target = dir.filePath(QStringLiteral("out.tls"));
  const auto withTable = [](TTilesetDocument& doc) {
    TPictureGroups how;
    how.Name = QStringLiteral("Table");
    how.Across = 2;
    doc.AddPictureGroups(TablePicture(), how);
  };
  const struct {
    const char* Case;
    std::function<void(TTilesetDocument&)> Act;
    const char* Message;
  } rows[] = {
      {"empty tileset name",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         doc.TileSet().SetTilesetName(QStringLiteral("  "));
         doc.SaveAs(target);
       },
       "The tileset needs a name."},
      {"empty group name",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         doc.Group(0).SetGroupName(QString());
         doc.SaveAs(target);
       },
       "Group 1 needs a name."},
      {"duplicate group name",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         doc.DuplicateGroup(0);
         doc.Group(1).SetGroupName(QStringLiteral("TABLE"));
         doc.SaveAs(target);
       },
       "Two groups are named \"TABLE\"."},
      {"a new group under a name in use",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         withTable(doc);
       },
       "A group named \"Table\" is already in the tileset."},
      {"picture too large",
       [](TTilesetDocument& doc) {
         TPictureGroups how;
         how.Name = QStringLiteral("Huge");
         doc.AddPictureGroups(QImage(4097, 8, QImage::Format_RGB32), how);
       },
       "too large to use"},
      {"pattern larger than the picture",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         doc.SetPatternSize(0, 3, 1);
       },
       "The pattern of \"Table\" is 3 × 1 squares, larger than its picture of 2 × 1 squares."},
      {"pattern grown behind the editor's back",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         doc.Group(0).SetPatHeight(2);
         doc.SaveAs(target);
       },
       "larger than its picture of 2 × 1 squares"},
      {"more squares than pixels",
       [](TTilesetDocument& doc) {
         TPictureGroups how;
         how.Name = QStringLiteral("Tiny");
         how.Across = 5;
         doc.AddPictureGroups(QImage(4, 4, QImage::Format_RGB32), how);
       },
       "too small for 5 × 1 squares"},
      {"no groups", [&](TTilesetDocument& doc) { doc.SaveAs(target); }, "holds no groups"},
      {"over a supplied file",
       [&](TTilesetDocument& doc) {
         withTable(doc);
         doc.SaveAs(supplied);
       },
       "is rewritten every time Tessellan starts"},
      {"wall strip of the wrong size",
       [](TTilesetDocument& doc) {
         doc.New(true);
         doc.AddWallStyle(QImage(1100, 100, QImage::Format_RGB32), QStringLiteral("Brick"),
                          std::nullopt);
       },
       "The wall strip is 1100 × 100 pixels."},
      {"a picture group in a wall tileset",
       [&](TTilesetDocument& doc) {
         doc.New(true);
         withTable(doc);
       },
       "holds wall styles only"},
  };
  for (const auto& row : rows) {
    TTilesetDocument doc({supplied});
    try {
      row.Act(doc);
      ADD_FAILURE() << row.Case << ": accepted";
    } catch (const TError& e) {
      EXPECT_TRUE(e.Message().contains(QString::fromUtf8(row.Message)))
          << row.Case << ": " << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(target)) << row.Case;
    EXPECT_FALSE(QFile::exists(supplied)) << row.Case;
  }
}

// A strip of twelve squares becomes a wall style whose tile n is piece n of
// the strip; the editor shows it as twelve labelled pieces and it saves as a
// wall tileset the wall tool can use.
TEST(TilesetDocument, WallStripBecomesAWallStyleInStripOrder) {
  for (const QSize size : {QSize(1200, 100), QSize(720, 60)})
    EXPECT_NO_THROW(CheckWallStrip(size));
  for (const QSize size : {QSize(1200, 99), QSize(100, 1200), QSize(0, 0)})
    EXPECT_THROW(CheckWallStrip(size), TError);

  TTilesetDocument doc;
  doc.New(true);
  doc.TileSet().SetTilesetName(QStringLiteral("My Walls"));
  ASSERT_EQ(doc.AddWallStyle(WallStripPicture(60), QStringLiteral("Painted"), qRgb(255, 0, 255)),
            0);
  const TTileGroup& style = doc.Group(0);
  EXPECT_EQ(style.PatWidth(), 12);
  EXPECT_EQ(style.PatHeight(), 1);
  EXPECT_EQ(style.FType(), gtObjects);
  EXPECT_EQ(style.Category(), QStringLiteral("Walls"));
  for (int n = 0; n < kWallStripPieces; ++n) {
    const QImage top = style.StoredTile(n, 0)->SubTile(0).Image();
    EXPECT_EQ(QColor(top.pixel(top.width() / 2, top.height() / 2)),
              QColor(20 * n, 100, 200 - 10 * n))
        << n;
    const TSubTile& bottom = style.StoredTile(n, 0)->SubTile(2);
    EXPECT_EQ(bottom.Image().pixel(4, 4) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(bottom.TransparentColor(), 0x02FF00FF);
  }
  EXPECT_THROW(doc.SetPatternSize(0, 6, 1), TError);

  TGroupPreview preview;
  preview.resize(preview.sizeHint());
  preview.SetGroup(&style, true);
  EXPECT_FALSE(preview.grab().isNull());

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("MyWalls.wls"));
  doc.SaveAs(path);
  TTilesetDocument reopened;
  ASSERT_TRUE(reopened.Open(path));
  EXPECT_TRUE(reopened.IsWallTileset());
  EXPECT_EQ(reopened.Group(0).GroupName(), QStringLiteral("Painted"));
}

// The cutting dialog's first guesses: a see-through object sheet of
// 420 × 140 pixels is three objects of 140 pixels; counts set by hand show
// in the square size box; a wall strip is shown large enough to check each
// piece.
TEST(AddPictureDialog, ProposesAsAUserExpects) {
  QImage sheet(420, 140, QImage::Format_ARGB32);
  sheet.fill(Qt::transparent);
  QPainter(&sheet).fillRect(20, 20, 100, 100, Qt::darkRed);
  TAddPictureDialog dialog(nullptr, sheet, QStringLiteral("Crate"), {}, false);
  auto* proposals = dialog.findChild<QComboBox*>(QStringLiteral("Proposals"));
  ASSERT_NE(proposals, nullptr);
  EXPECT_TRUE(proposals->currentText().startsWith("140 px per square: 3 × 1"))
      << proposals->currentText().toStdString();
  EXPECT_EQ(dialog.Choice().FType, gtObjects);
  EXPECT_EQ(dialog.Choice().Across, 3);
  const QList<QSpinBox*> spins = dialog.findChildren<QSpinBox*>();
  // Sheet columns and rows, then squares across and down.
  ASSERT_EQ(spins.size(), 4);
  spins[2]->setValue(6);
  spins[3]->setValue(2);
  EXPECT_TRUE(proposals->currentText().startsWith("70 px per square: 6 × 2"))
      << proposals->currentText().toStdString();
  spins[2]->setValue(5);
  EXPECT_EQ(proposals->currentText(), "84 × 70 px per square: 5 × 2 squares, set by hand");
  EXPECT_EQ(dialog.Choice().Across, 5);

  TAddPictureDialog strip(nullptr, WallStripPicture(100), QStringLiteral("Brick"), {}, true);
  auto* thumbnail = strip.findChild<QLabel*>(QStringLiteral("Thumbnail"));
  ASSERT_NE(thumbnail, nullptr);
  EXPECT_GE(thumbnail->pixmap().deviceIndependentSize().width(), 48 * kWallStripPieces);
}

}  // namespace
