// tessellan-tilegen: paints the supplied example and wall tilesets and writes
// them as tileset files, or renders review sheets of their artwork.
#include "Sheet.h"
#include "TilesetArt.h"
#include "TilesetFile.h"
#include "WallArt.h"
#include "base/Error.h"
#include "storage/WriteAsideFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

void WriteTilesetFiles(const QString& folder, const TTilesetArt& tileset, const TTilesetArt& walls);

namespace {

int Usage() {
  std::fprintf(stderr,
               "Usage: tessellan-tilegen OUTDIR\n"
               "         writes OUTDIR/ExampleTileset.tls and OUTDIR/Walls.wls\n"
               "       tessellan-tilegen --sheet OUT.png   contact sheet of every group\n"
               "       tessellan-tilegen --demo OUT.png    a demo room painted with them\n"
               "       tessellan-tilegen --pictures DIR    every group's picture at full size\n"
               "       tessellan-tilegen --wall-order OUT.png  the wall pieces in strip order\n");
  return 2;
}

void SaveImage(const QImage& image, const QString& path) {
  WriteImageAside(image, path, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  try {
    QElapsedTimer timer;
    timer.start();
    if (args.size() == 2 && args[0] == QLatin1String("--sheet")) {
      const TTilesetArt tileset = PaintExampleTileset();
      const TTilesetArt walls = PaintWallTileset();
      std::fprintf(stderr, "painted in %lld ms\n", timer.elapsed());
      SaveImage(RenderContactSheet({&tileset, &walls}), args[1]);
      return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("--pictures")) {
      PrepareFolder(args[1]);
      for (const TTilesetArt& tileset : {PaintExampleTileset(), PaintWallTileset()})
        for (const TGroupArt& group : tileset.Groups)
          SaveImage(
              group.Picture,
              QDir(args[1]).filePath(QStringLiteral("%1 - %2.png").arg(tileset.Name, group.Name)));
      return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("--wall-order")) {
      SaveImage(RenderWallOrder(PaintWallPieces(TWallStyle::Dressed)), args[1]);
      return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("--demo")) {
      const TTilesetArt tileset = PaintExampleTileset();
      const TTilesetArt walls = PaintWallTileset();
      SaveImage(RenderDemoRoom(tileset, walls, 96), args[1]);
      return 0;
    }
    if (args.size() == 1 && !args[0].startsWith(QLatin1String("--"))) {
      // A folder that cannot be made fails before the painting.
      PrepareFolder(args[0]);
      WriteTilesetFiles(args[0], PaintExampleTileset(), PaintWallTileset());
      return 0;
    }
    return Usage();
  } catch (const TError& error) {
    std::fprintf(stderr, "tessellan-tilegen: %s\n", qPrintable(error.Message()));
    return 1;
  }
}
