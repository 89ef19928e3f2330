#pragma once

#include <QtGlobal>

#include <sys/resource.h>

// Lowers this process's file-size limit while it lives, with SIGXFSZ
// ignored, so that a write past the limit fails with EFBIG ("File too
// large") through the real file system, as a full disk fails with ENOSPC.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(qint64 bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  rlimit fPrevious{};
  void (*fPreviousHandler)(int) = nullptr;
};

// The reason a write past the limit gives.
constexpr const char* kFileTooLarge = "File too large";
