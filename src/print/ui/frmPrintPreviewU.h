#pragma once

#include "print/PageLayout.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QAction;
class QLabel;
class TColorStatusBar;
class TPreviewImage;
class TPrinterDevice;
class TTileMap;

// The print preview: the current page of a map as it will come out of the
// current printer, drawn at 72 pixels per inch on a sheet of paper with its
// shadow, with commands to print, print this page, set the printer up and
// page through. The map is shown as it is, not copied; the window is modal,
// so it cannot change meanwhile.
class TfrmPrintPreview : public QDialog {
  Q_OBJECT

 public:
  // Previews map on device (neither owned). Raises TError when the map
  // cannot be laid out on the device.
  TfrmPrintPreview(QWidget* owner, TTileMap& map, TPrinterDevice& device);
  ~TfrmPrintPreview() override;

  // Runs the printer setup dialog; returns true when the user confirmed it.
  // Without one, Printer Setup changes nothing.
  std::function<bool(QWidget* owner)> PrinterSetup;

  int CurrentPage() const { return fPage; }
  const TPageLayout& Layout() const { return fLayout; }
  // The preview image as last drawn.
  const QImage& PreviewImage() const;
  // The text of a status panel: 0 the page, 1 the grid size, 2 the orientation.
  QString StatusText(int index) const;

  // Draws the current page into the preview image.
  void DrawPreviewPage();
  void UpdateNavigation();

  QAction* ppPrint;
  QAction* ppPrintPage;
  QAction* ppPrintSetup;
  QAction* ppPrevPage;
  QAction* ppNextPage;
  QAction* ppClose;

  void ppPrintExecute();
  void ppPrintPageExecute();
  void ppPrintSetupExecute();
  void ppNextPageExecute();
  void ppPrevPageExecute();
  void ppCloseExecute();

 private:
  void ComputeLayout();
  QAction* AddAction(const char* name, const QString& caption, const QString& hint,
                     void (TfrmPrintPreview::*handler)());

  TTileMap& fMap;
  TPrinterDevice& fDevice;
  int fPage = 0;
  TPageLayout fLayout;
  TPreviewImage* fImage;
  TColorStatusBar* fStatus;
};

// Shows the preview of map on device modally; true when the user chose
// Print. The printer setup dialog changes the device's printer when the
// device is the system's.
bool ShowPrintPreview(QWidget* owner, TTileMap& map, TPrinterDevice& device);
