#include "ExportCommand.h"

#include "DialogRunner.h"
#include "ExportOptionsDialog.h"
#include "FileDialogs.h"
#include "base/Busy.h"
#include "base/MessageService.h"
#include "export/MapExport.h"
#include "map/TileMapObjects.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

#include <algorithm>
#include <iterator>

namespace {

const QString kTitle = QStringLiteral("Export Map to Bitmap");

// The save dialog's filters in order; "All Files" exports a bitmap unless
// the name's extension says otherwise.
const QString kFilter = QStringLiteral(
    "Bitmap Graphic (*.bmp)|*.bmp|PNG Picture (*.png)|*.png|"
    "JPEG Picture (*.jpg;*.jpeg)|*.jpg;*.jpeg|Universal VTT (*.dd2vtt)|*.dd2vtt|"
    "All Files (*.*)|*.*");
const TExportFormat kFilterFormats[] = {TExportFormat::Bmp, TExportFormat::Png, TExportFormat::Jpeg,
                                        TExportFormat::UniversalVtt, TExportFormat::Bmp};

// The progress of a running export, with Cancel.
class TExportProgressDialog : public QProgressDialog, public TExportProgress {
 public:
  TExportProgressDialog(QWidget* owner, const QString& path)
      : QProgressDialog(QStringLiteral("Exporting to %1...").arg(QFileInfo(path).fileName()),
                        QStringLiteral("Cancel"), 0, 1, owner) {
    setObjectName(QStringLiteral("ExportProgress"));
    setWindowTitle(kTitle);
    setWindowModality(Qt::WindowModal);
    // Quick exports finish before a dialog would be worth showing.
    setMinimumDuration(500);
    setAutoClose(false);
    setAutoReset(false);
  }
  void Advance(int done, int total) override {
    setMaximum(std::max(total, 1));
    setValue(std::min(done, maximum()));
    ProcessPendingMessages();
  }
  bool Cancelled() const override { return wasCanceled(); }
};

}  // namespace

QString ExportMapWithDialogs(QWidget* owner, TTileMap& map, const TTilesetList* tilesets,
                             const QString& directory, TExportOptions& lastOptions) {
  TFileDialogRequest request;
  request.Kind = TFileDialogRequest::Save;
  request.Title = kTitle;
  request.Directory = directory;
  // Without an extension, so that the filter the user picks supplies it.
  request.FileName = map.MapName();
  request.Filter = kFilter;
  request.DefaultExt = QStringLiteral("BMP");
  request.Owner = owner;
  int chosenFilter = 0;
  request.ChosenFilter = &chosenFilter;
  QString path = RunFileDialog(request);
  if (path.isEmpty()) return QString();

  // A known extension decides; otherwise the chosen filter does, and a name
  // without any extension gets the format's.
  TExportOptions options = lastOptions;
  if (!ExportFormatForPath(path, &options.Format)) {
    const int filters = int(std::size(kFilterFormats));
    options.Format = kFilterFormats[chosenFilter >= 0 && chosenFilter < filters ? chosenFilter : 0];
    if (QFileInfo(path).suffix().isEmpty())
      path += QLatin1Char('.') + ExportExtension(options.Format);
  }

  TExportOptionsDialog optionsDialog(owner, map, options);
  if (RunDialog(optionsDialog) != QDialog::Accepted) return QString();
  options = optionsDialog.Options();
  lastOptions = options;

  TExportResult result;
  {
    TExportProgressDialog progress(owner, path);
    TBusyCursor busy;
    result = ExportMap(map, tilesets, options, path, &progress);
  }
  if (result.Cancelled) return QString();
  const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  if (result.UnrecognisedWallPieces > 0)
    ShowMessage((result.UnrecognisedWallPieces == 1
                     ? QStringLiteral("%1 wall piece belongs to a wall style that is not "
                                      "installed; it was left out of the walls in %2.")
                     : QStringLiteral("%1 wall pieces belong to wall styles that are not "
                                      "installed; they were left out of the walls in %2."))
                    .arg(result.UnrecognisedWallPieces)
                    .arg(shown),
                kTitle, TMsgIcon::Warning, mbOK, owner);
  ShowMessage(QStringLiteral("The map was exported to %1.").arg(shown), kTitle,
              TMsgIcon::Information, mbOK, owner);
  return path;
}
