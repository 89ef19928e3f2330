#pragma once

#include <QString>

class QWidget;
class TTileMap;
class TTilesetList;
struct TExportOptions;

// Exports a map as the window's Export to Bitmap command does: the save
// dialog (its filter or the typed extension picks the format), the options
// dialog, then the export under a progress dialog whose Cancel leaves no
// file behind. Success is reported with the file's path; wall pieces the
// installed wall styles do not know are reported too. The options dialog
// starts from `options` (scale, layers, grid lines), which keeps what the
// user chose for the next export. Returns the exported file's path, or an
// empty text when the user cancelled; raises TError when the export fails
// (nothing written then).
QString ExportMapWithDialogs(QWidget* owner, TTileMap& map, const TTilesetList* tilesets,
                             const QString& directory, TExportOptions& options);
