#include "BandWriter.h"

#include "base/Error.h"

#include <QIODevice>
#include <QtGlobal>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

// libjpeg ends the program on an error unless its error handler leaves by
// longjmp; the functions that call into it hold no objects with destructors
// between setjmp and the calls.

namespace {

constexpr size_t kBufferSize = 64 * 1024;

struct TJpegState {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  jpeg_destination_mgr Destination{};
  std::jmp_buf Jump;
  QIODevice* Device = nullptr;
  JOCTET* Buffer = nullptr;
  bool WriteFailed = false;
  char Error[JMSG_LENGTH_MAX] = {};
};

TJpegState* StateOf(j_common_ptr info) {
  return reinterpret_cast<TJpegState*>(info->client_data);
}

extern "C" void ExportJpegError(j_common_ptr info) {
  TJpegState* state = StateOf(info);
  (*info->err->format_message)(info, state->Error);
  std::longjmp(state->Jump, 1);
}

extern "C" void ExportJpegMessage(j_common_ptr) {}

extern "C" void ExportJpegInit(j_compress_ptr info) {
  TJpegState* state = StateOf(reinterpret_cast<j_common_ptr>(info));
  info->dest->next_output_byte = state->Buffer;
  info->dest->free_in_buffer = kBufferSize;
}

bool Flush(TJpegState* state, size_t bytes) {
  if (state->Device->write(reinterpret_cast<const char*>(state->Buffer), qint64(bytes)) ==
      qint64(bytes))
    return true;
  state->WriteFailed = true;
  return false;
}

extern "C" boolean ExportJpegEmpty(j_compress_ptr info) {
  TJpegState* state = StateOf(reinterpret_cast<j_common_ptr>(info));
  if (!Flush(state, kBufferSize)) std::longjmp(state->Jump, 1);
  info->dest->next_output_byte = state->Buffer;
  info->dest->free_in_buffer = kBufferSize;
  return TRUE;
}

extern "C" void ExportJpegTerm(j_compress_ptr info) {
  TJpegState* state = StateOf(reinterpret_cast<j_common_ptr>(info));
  if (!Flush(state, kBufferSize - info->dest->free_in_buffer)) std::longjmp(state->Jump, 1);
}

bool JpegBegin(TJpegState* s, int width, int height) {
  if (setjmp(s->Jump)) return false;
  s->Info.image_width = JDIMENSION(width);
  s->Info.image_height = JDIMENSION(height);
  // 32-bit pixels as QImage holds them: 0xffRRGGBB in the machine's order.
  s->Info.input_components = 4;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  s->Info.in_color_space = JCS_EXT_BGRX;
#else
  s->Info.in_color_space = JCS_EXT_XRGB;
#endif
  jpeg_set_defaults(&s->Info);
  jpeg_set_quality(&s->Info, kJpegQuality, TRUE);
  jpeg_start_compress(&s->Info, TRUE);
  return true;
}

bool JpegRow(TJpegState* s, const QRgb* row) {
  if (setjmp(s->Jump)) return false;
  JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(const_cast<QRgb*>(row))};
  jpeg_write_scanlines(&s->Info, rows, 1);
  return true;
}

bool JpegEnd(TJpegState* s) {
  if (setjmp(s->Jump)) return false;
  jpeg_finish_compress(&s->Info);
  return true;
}

class TJpegBandWriter : public TBandWriter {
 public:
  explicit TJpegBandWriter(QIODevice& device) : fBuffer(kBufferSize) {
    fState.Device = &device;
    fState.Buffer = fBuffer.data();
    fState.Info.err = jpeg_std_error(&fState.Errors);
    fState.Errors.error_exit = ExportJpegError;
    fState.Errors.output_message = ExportJpegMessage;
    fState.Info.client_data = &fState;
    jpeg_create_compress(&fState.Info);
    fState.Destination.init_destination = ExportJpegInit;
    fState.Destination.empty_output_buffer = ExportJpegEmpty;
    fState.Destination.term_destination = ExportJpegTerm;
    fState.Info.dest = &fState.Destination;
  }
  ~TJpegBandWriter() override { jpeg_destroy_compress(&fState.Info); }

  void Begin(int width, int height) override {
    if (!JpegBegin(&fState, width, height)) Fail();
  }
  void WriteRow(const QRgb* row) override {
    if (!JpegRow(&fState, row)) Fail();
  }
  void Finish() override {
    if (!JpegEnd(&fState)) Fail();
  }

 private:
  [[noreturn]] void Fail() const {
    const QString reason =
        fState.WriteFailed ? fState.Device->errorString() : QString::fromLocal8Bit(fState.Error);
    throw TError(QStringLiteral("The JPEG picture could not be written: %1.").arg(reason));
  }

  std::vector<JOCTET> fBuffer;
  TJpegState fState;
};

}  // namespace

std::unique_ptr<TBandWriter> NewJpegBandWriter(QIODevice& device) {
  return std::make_unique<TJpegBandWriter>(device);
}
