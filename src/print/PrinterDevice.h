#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class QPageLayout;
class QPainter;

// What printing needs from a printer, in device pixels: the resolution, the
// printable area (where the painter's origin lies), the whole sheet and the
// printable area's offset on it, the orientation, and a job of pages drawn
// with one painter. The system's printers and PDF files implement it.
class TPrinterDevice {
 public:
  virtual ~TPrinterDevice() = default;

  // Pixels per inch across and down.
  virtual int ResolutionX() const = 0;
  virtual int ResolutionY() const = 0;
  virtual QSize PrintableSize() const = 0;
  virtual QSize PhysicalSize() const = 0;
  virtual QPoint PhysicalOffset() const = 0;
  virtual bool Landscape() const = 0;

  // Sets the device up so that pages come out at their true size, one to a
  // sheet and unscaled, whatever its own settings say; returns what it could
  // not set (empty when nothing), to be told before printing.
  virtual QString KeepTrueScale() { return QString(); }

  // Starts a job of one page; raises TError when the device refuses it.
  virtual void BeginJob(const QString& title) = 0;
  // Ends the current page and starts the next one.
  virtual void NewPage() = 0;
  // Ends the job: the pages drawn so far go to the printer or file. Raises
  // TError when they could not be delivered.
  virtual void EndJob() = 0;
  // Ends a job that failed: the device keeps what it can take back (a file
  // stays as it was) and raises nothing.
  virtual void AbortJob() = 0;
  // The painter of the running job, with its origin at the printable area's
  // top-left corner.
  virtual QPainter& Painter() = 0;
};

// The geometry of a page layout in device pixels at a resolution, from its
// sizes in points: the printable area is the whole pixels inside it, so
// that a margin of a fraction of a pixel does not cost the area a pixel
// (and a whole square) on each side.
QSize PrintableSizeOf(const QPageLayout& layout, int resolution);
QSize PhysicalSizeOf(const QPageLayout& layout, int resolution);
QPoint PhysicalOffsetOf(const QPageLayout& layout, int resolution);
