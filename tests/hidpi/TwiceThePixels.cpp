// Every test of this program runs as on a screen of twice the pixels: the
// scale is set before the application object exists, as Qt requires.
#include "support/TestApplication.h"

#include <QApplication>

namespace {

const bool kTwiceThePixels = [] {
  TestApplicationFactory() = [](int& argc, char** argv) -> std::unique_ptr<QApplication> {
    qputenv("QT_SCALE_FACTOR", "2");
    return std::make_unique<QApplication>(argc, argv);
  };
  return true;
}();

}  // namespace
