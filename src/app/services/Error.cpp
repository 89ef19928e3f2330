#include "Error.h"

TError::TError(const QString& message)
    : std::runtime_error(message.toStdString()), fMessage(message) {}

QString ErrorDisplayText(const QString& message) {
  if (!message.isEmpty() && message.back() <= QLatin1Char('.')) return message;
  return message + QLatin1Char('.');
}
