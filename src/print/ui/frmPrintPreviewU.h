#pragma once

#include "print/PageLayout.h"
#include "print/PrintAids.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QAction;
class QLabel;
class QScrollArea;
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
  // Previews map on device (neither owned) with the aids. Raises TError when
  // the map cannot be laid out on the device.
  TfrmPrintPreview(QWidget* owner, const TTileMap& map, TPrinterDevice& device,
                   const TPrintAids& aids = TPrintAids());
  ~TfrmPrintPreview() override;

  // Runs the printer setup dialog; returns true when the user confirmed it.
  // Without one, Printer Setup changes nothing.
  std::function<bool(QWidget* owner)> PrinterSetup;

  int CurrentPage() const { return fPage; }
  const TPageLayout& Layout() const { return fLayout; }
  // The aids as the toggles stand.
  const TPrintAids& Aids() const { return fAids; }
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
  QAction* ppFirstPage;
  QAction* ppLastPage;
  QAction* ppLabels;
  QAction* ppMarks;
  QAction* ppCalibration;
  QAction* ppSkipBlank;
  QAction* ppZoomFit;
  QAction* ppZoom100;
  QAction* ppZoom200;

  void ppPrintExecute();
  void ppPrintPageExecute();
  void ppPrintSetupExecute();
  void ppNextPageExecute();
  void ppPrevPageExecute();
  void ppCloseExecute();
  void ppFirstPageExecute();
  void ppLastPageExecute();
  void ppAidsExecute();
  void ppZoomExecute();

 private:
  void ComputeLayout();
  // The nearest page from `from` on in steps of `step` (+1 or -1) that the
  // job prints, or -1.
  int PrintedPage(int from, int step) const;
  void ShowPage(int page);
  // The sheet with its shadow and the current page at dpi pixels per inch.
  QImage DrawPaper(int dpi) const;
  QAction* AddToggle(const char* name, const QString& caption, const QString& hint,
                     void (TfrmPrintPreview::*handler)());
  QAction* AddAction(const char* name, const QString& caption, const QString& hint,
                     void (TfrmPrintPreview::*handler)());

  const TTileMap& fMap;
  TPrinterDevice& fDevice;
  int fPage = 0;
  TPageLayout fLayout;
  TPrintAids fAids;
  int fZoom = 0;  // percent of the 72 pixels per inch drawing; 0 fits the sheet
  bool fDrawing = false;
  QScrollArea* fScroll;
  TPreviewImage* fImage;
  TColorStatusBar* fStatus;
};

// Shows the preview of map on device modally, starting with the aids and
// leaving in them the ones the user chose; true when the user chose Print.
// The printer setup dialog changes the device's printer when the device is
// the system's.
bool ShowPrintPreview(QWidget* owner, const TTileMap& map, TPrinterDevice& device,
                      TPrintAids& aids);
