#include "MessageService.h"

#include <cstdio>

namespace {

std::unique_ptr<TMessageService>& Installed() {
  static std::unique_ptr<TMessageService> service;
  return service;
}

}  // namespace

std::unique_ptr<TMessageService> SetMessageService(std::unique_ptr<TMessageService> service) {
  std::swap(Installed(), service);
  return service;
}

TMsgAnswer ShowMessage(const QString& text, const QString& caption, TMsgIcon icon,
                       TMsgButtons buttons, QObject* owner) {
  const TMessage message{text, caption, icon, buttons, owner};
  if (auto& service = Installed()) return service->Show(message);
  return TStderrMessageService().Show(message);
}

TMsgAnswer FirstAnswer(TMsgButtons buttons) {
  if (buttons & mbOK) return TMsgAnswer::OK;
  if (buttons & mbYes) return TMsgAnswer::Yes;
  if (buttons & mbNo) return TMsgAnswer::No;
  return TMsgAnswer::Cancel;
}

TMsgAnswer TStderrMessageService::Show(const TMessage& message) {
  std::fprintf(stderr, "%s\n%s\n", message.Caption.toLocal8Bit().constData(),
               message.Text.toLocal8Bit().constData());
  std::fflush(stderr);
  return FirstAnswer(message.Buttons);
}
