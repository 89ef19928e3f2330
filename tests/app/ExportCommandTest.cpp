// Export to Bitmap as a user walks through it: the save dialog, whose filter
// or typed extension picks the format, the options dialog with its live
// picture size, the export and its report, and the ways to stop it.
#include "WindowTestSupport.h"
#include "app/ExportOptionsDialog.h"
#include "map/TileMapObjects.h"
#include "support/ScriptedMessages.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

namespace {

using TExportCommandTest = TWindowTest;

// An answer for the options dialog: sets the pixels per square, then OK.
std::function<void(QDialog&)> Options(int pixelsPerSquare) {
  return [pixelsPerSquare](QDialog& dialog) {
    auto& options = dynamic_cast<TExportOptionsDialog&>(dialog);
    options.PixelsPerSquareSpin()->setValue(pixelsPerSquare);
    options.accept();
  };
}

QByteArray Head(const QString& path, int bytes) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

TEST_F(TExportCommandTest, ExportsThroughTheDialogsAndStopsCleanly) {
  DragOnGrid(0, 0, 2, 1);
  ASSERT_TRUE(Action("faExport")->isEnabled());

  // A name without extension under the PNG filter: a PNG named so. The
  // options dialog shows the size for the default map of 8 x 10 squares.
  QString sizeShown;
  dialogs->Answers = {TempPath("Room")};
  dialogs->FilterAnswers = {1};
  dialogAnswers.push_back([&sizeShown](QDialog& dialog) {
    auto& options = dynamic_cast<TExportOptionsDialog&>(dialog);
    EXPECT_EQ(options.PixelsPerSquareSpin()->value(), 100);
    EXPECT_EQ(options.PixelsPerSquareSpin()->minimum(), 8);
    EXPECT_EQ(options.PixelsPerSquareSpin()->maximum(), 1000);
    const QLocale locale;
    EXPECT_EQ(options.SizeLabel()->text(),
              QStringLiteral("800 × %1 pixels, %2 MB")
                  .arg(locale.toString(1000), locale.toString(2.3, 'f', 1)));
    options.PixelsPerSquareSpin()->setValue(20);
    sizeShown = options.SizeLabel()->text();
    options.accept();
  });
  Run("faExport");
  ASSERT_EQ(dialogs->Requests.size(), 1u);
  const TFileDialogRequest& save = dialogs->Requests[0];
  EXPECT_EQ(save.Kind, TFileDialogRequest::Save);
  EXPECT_EQ(save.Title, "Export Map to Bitmap");
  EXPECT_EQ(save.FileName, "BattleMap");
  EXPECT_TRUE(save.Filter.startsWith("Bitmap Graphic (*.bmp)|*.bmp|PNG Picture (*.png)|*.png|"));
  EXPECT_TRUE(save.Filter.endsWith("|Universal VTT (*.dd2vtt)|*.dd2vtt|All Files (*.*)|*.*"));
  EXPECT_EQ(save.DefaultExt, "BMP");
  EXPECT_EQ(sizeShown,
            QStringLiteral("160 × 200 pixels, %1 MB").arg(QLocale().toString(0.1, 'f', 1)));
  const QString png = TempPath("Room.png");
  EXPECT_EQ(Head(png, 4), QByteArray("\x89PNG", 4));
  EXPECT_EQ(QImage(png).size(), QSize(160, 200));
  ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
  EXPECT_EQ(ScriptedMessages().Shown[0].Caption, "Export Map to Bitmap");
  EXPECT_EQ(ScriptedMessages().Shown[0].Text,
            QStringLiteral("The map was exported to %1.").arg(QDir::toNativeSeparators(png)));

  // A typed extension wins over the filter. The dialog offers the last
  // export's scale.
  dialogs->Answers = {TempPath("Room.JPG")};
  dialogs->FilterAnswers = {0};
  dialogAnswers.push_back([](QDialog& dialog) {
    auto& options = dynamic_cast<TExportOptionsDialog&>(dialog);
    EXPECT_EQ(options.PixelsPerSquareSpin()->value(), 20);
    Options(10)(dialog);
  });
  Run("faExport");
  EXPECT_EQ(Head(TempPath("Room.JPG"), 3), QByteArray("\xFF\xD8\xFF", 3));

  // A piece in the wall layer that no installed wall style holds (here a
  // floor's sub-tile) is left out of a VTT file's walls, and the user told.
  TTileMap& map = *window->CurrentMap();
  ASSERT_NE(map.PlaceTile(mlWall, 10, 10, *map.GetTile(mlBase, 0, 0)->SubTile(), 0), nullptr);
  dialogs->Answers = {TempPath("Room")};
  dialogs->FilterAnswers = {3};
  dialogAnswers.push_back(Options(10));
  Run("faExport");
  const QString vtt = QDir::toNativeSeparators(TempPath("Room.dd2vtt"));
  ASSERT_EQ(ScriptedMessages().Shown.size(), 4u);
  EXPECT_EQ(ScriptedMessages().Shown[2].Icon, TMsgIcon::Warning);
  EXPECT_EQ(ScriptedMessages().Shown[2].Text,
            QStringLiteral("1 wall piece belongs to a wall style that is not installed; it was "
                           "left out of the walls in %1.")
                .arg(vtt));
  EXPECT_EQ(ScriptedMessages().Shown[3].Text,
            QStringLiteral("The map was exported to %1.").arg(vtt));
  map.RemoveTile(mlWall, 10, 10);

  // No layer leaves nothing to export: the dialog says so and withholds OK
  // until a layer is back. Cancel there writes nothing and says nothing.
  dialogs->Answers = {TempPath("Nothing.bmp")};
  dialogAnswers.push_back([](QDialog& dialog) {
    auto& options = dynamic_cast<TExportOptionsDialog&>(dialog);
    for (TLayerFlag layer : {lfBase, lfObjects, lfWalls})
      options.LayerBox(layer)->setChecked(false);
    EXPECT_FALSE(options.OKButton()->isEnabled());
    EXPECT_EQ(options.ProblemLabel()->text(), "Choose at least one layer to export.");
    options.LayerBox(lfWalls)->setChecked(true);
    EXPECT_TRUE(options.OKButton()->isEnabled());
    EXPECT_TRUE(options.ProblemLabel()->text().isEmpty());
    options.reject();
  });
  Run("faExport");
  EXPECT_FALSE(QFile::exists(TempPath("Nothing.bmp")));

  // Cancel in the progress dialog of a large export leaves the file that
  // was there as it was, and no partial file beside it.
  const QString big = TempPath("Big.bmp");
  {
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep");
  }
  QTimer canceller;
  QObject::connect(&canceller, &QTimer::timeout, [&] {
    if (auto* progress = window->findChild<QProgressDialog*>(QStringLiteral("ExportProgress"))) {
      progress->cancel();
      canceller.stop();
    }
  });
  canceller.start(0);
  dialogs->Answers = {big};
  dialogAnswers.push_back(Options(400));
  Run("faExport");
  EXPECT_FALSE(canceller.isActive()) << "no progress dialog was shown";
  EXPECT_EQ(Head(big, 100), QByteArray("keep"));
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files),
            QStringList({"Big.bmp", "Room.dd2vtt", "Room.JPG", "Room.png"}));
  EXPECT_EQ(ScriptedMessages().Shown.size(), 4u);

  // A file that cannot be written shows the export's message and leaves
  // nothing behind.
  QFile blocker(TempPath("blocker"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  dialogs->Answers = {TempPath("blocker/Lost.png")};
  dialogAnswers.push_back(Options(10));
  Run("faExport");
  ASSERT_EQ(ScriptedMessages().Shown.size(), 5u);
  EXPECT_EQ(ScriptedMessages().Shown[4].Caption, "Tessellan");
  EXPECT_EQ(ScriptedMessages().Shown[4].Icon, TMsgIcon::Error);
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files),
            QStringList({"Big.bmp", "blocker", "Room.dd2vtt", "Room.JPG", "Room.png"}));

  // With no map open there is nothing to export.
  ScriptedMessages().Answers = {TMsgAnswer::No};
  Run("faClose");
  EXPECT_FALSE(Action("faExport")->isEnabled());
}

}  // namespace
