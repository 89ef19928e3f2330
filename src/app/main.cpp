// Tessellan: the application object and the real message boxes, then the
// start-up that decides how this start runs.
#include "AppResources.h"
#include "Application.h"
#include "MessageBoxService.h"
#include "Startup.h"
#include "base/FileName.h"

#include <QIcon>

#include <csignal>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A write past the file-size limit then fails as "File too large" and is
  // reported like any failed write, instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  TApplication app(argc, argv);
  QApplication::setWindowIcon(ApplicationIcon());
  SetMessageService(std::make_unique<TMessageBoxService>());
  // Qt has taken its own options out of argv; file names keep their bytes.
  return RunTessellan(ProgramArguments(argc, argv));
}
