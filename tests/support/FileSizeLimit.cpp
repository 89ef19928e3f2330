#include "FileSizeLimit.h"

#include <csignal>

TFileSizeLimit::TFileSizeLimit(qint64 bytes) {
  fPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
  getrlimit(RLIMIT_FSIZE, &fPrevious);
  rlimit lowered = fPrevious;
  lowered.rlim_cur = rlim_t(bytes);
  setrlimit(RLIMIT_FSIZE, &lowered);
}

TFileSizeLimit::~TFileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &fPrevious);
  std::signal(SIGXFSZ, fPreviousHandler);
}
