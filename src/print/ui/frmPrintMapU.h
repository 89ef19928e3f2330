#pragma once

#include "print/PrintJob.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;
class TPrinterDevice;
class TTileMap;

// The print progress window: a small fixed dialog without title-bar
// buttons that prints a map when it is first shown, tells which page is
// being drawn, and offers Cancel. It closes itself when the job has ended.
// The map is printed as it is, not copied: the window is modal, so the map
// cannot change meanwhile, and printing only reads it.
class TfrmPrintMap : public QDialog, public TPrintProgress {
  Q_OBJECT

 public:
  // The window prints map on device (neither owned), with the aids.
  TfrmPrintMap(QWidget* owner, const TTileMap& map, TPrinterDevice& device, int pageIndex,
               const TPrintAids& aids = TPrintAids());
  ~TfrmPrintMap() override;

  QLabel* StatusLabel() const { return fStatus; }
  QPushButton* CancelButton() const { return fCancel; }
  // The error that ended printing, if any (empty otherwise).
  const QString& Error() const { return fError; }
  int PagesDrawn() const { return fPagesDrawn; }

  void PageStarting(const QString& status) override;
  void Drawing() override;
  bool Cancelled() const override { return fCancelled; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Print();
  void btnCancelClick();

  const TTileMap& fMap;
  TPrinterDevice& fDevice;
  int fPageIndex;
  TPrintAids fAids;
  // A click on Cancel sets fCancelRequested at once; it becomes fCancelled,
  // which ends the job after the page being started, at the next page.
  bool fCancelRequested = false;
  bool fCancelled = false;
  // Since input was last handled.
  QElapsedTimer fSincePump;
  bool fStarted = false;
  bool fPrinting = false;
  int fPagesDrawn = 0;
  QString fError;
  QLabel* fStatus;
  QPushButton* fCancel;
};

// Prints the map (all pages for -1 or an index out of range, else that
// page) on device, with the aids, through the progress window, shown
// modally over owner; returns when printing has finished or was cancelled.
// Where the device cannot be kept to the true scale, the user is told first
// and may decline. Raises the error that ended printing as TError.
void PrintMap(QWidget* owner, const TTileMap& map, TPrinterDevice& device, int pageIndex,
              const TPrintAids& aids = TPrintAids());
