#pragma once

#include "PageLayout.h"
#include "PrintAids.h"

#include <QString>

class TPrinterDevice;
class TTileMap;

// What a print job reports while it runs, and how it learns of a cancel. The
// progress window implements it; without one a job runs to its end.
class TPrintProgress {
 public:
  virtual ~TPrintProgress() = default;
  // Called just before a page is drawn with its status text ("Printing page
  // 2 of 9"); the window shows it and handles pending input here, which is
  // where a Cancel click takes effect.
  virtual void PageStarting(const QString& status) = 0;
  // Called again and again while a page is drawn, so the window can keep
  // itself painted and show a Cancel click at once. Such a click takes
  // effect at the next PageStarting, as one handled there would.
  virtual void Drawing() {}
  virtual bool Cancelled() const = 0;
};

// The layout of a map on a device's printable area at its resolution, less
// the strip the aids keep free.
TPageLayout LayoutForDevice(const TTileMap& map, const TPrinterDevice& device,
                            const TPrintAids& aids = TPrintAids());

// Prints the map on the device as one job titled with the map's name: every
// page for a page index of -1 or one out of range, else that page. A cancel
// takes effect after the page that was started when it was noticed; the
// pages drawn by then are delivered. An error ends the job and is raised
// again. Each page gets the chosen aids; with SkipBlank a page without a
// tile is left out (and a job of blank pages alone raises TError before it
// starts). Returns the number of pages drawn.
int PrintMapPages(const TTileMap& map, TPrinterDevice& device, int pageIndex,
                  TPrintProgress* progress = nullptr, const TPrintAids& aids = TPrintAids());
