#include "Error.h"

TError::TError(const QString& message)
    : std::runtime_error(message.toStdString()), fMessage(message) {}

TIndexError::TIndexError(qsizetype index)
    : TError(QStringLiteral("List index out of bounds (%1)").arg(index)) {}

QString ErrorDisplayText(const QString& message) {
  if (!message.isEmpty() && message.back() <= QLatin1Char('.')) return message;
  return message + QLatin1Char('.');
}
