#include "Error.h"

#include <exception>
#include <new>

TError::TError(const QString& message)
    : std::runtime_error(message.toStdString()), fMessage(message) {}

TIndexError::TIndexError(qsizetype index)
    : TError(QStringLiteral("List index out of bounds (%1)").arg(index)) {}

QString ErrorDisplayText(const QString& message) {
  if (!message.isEmpty() && message.back() <= QLatin1Char('.')) return message;
  return message + QLatin1Char('.');
}

QString CurrentExceptionText() {
  const QString unexpected = QStringLiteral("An unexpected error occurred");
  if (!std::current_exception()) return unexpected;
  try {
    throw;
  } catch (const TError& e) {
    return e.Message();
  } catch (const std::bad_alloc&) {
    return QStringLiteral("Out of memory.");
  } catch (const std::exception& e) {
    return QString::fromLocal8Bit(e.what());
  } catch (...) {
    return unexpected;
  }
}
