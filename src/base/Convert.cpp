#include "Convert.h"

#include "Error.h"

#include <limits>

namespace {

bool ParseInt(const QString& text, int& value) {
  const int n = text.size();
  int i = 0;
  bool negative = false;
  if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  if (i == n) return false;
  qint64 result = 0;
  for (; i < n; ++i) {
    const QChar c = text[i];
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    result = result * 10 + (c.unicode() - '0');
    if (result > qint64(std::numeric_limits<int>::max()) + 1) return false;
  }
  if (negative) result = -result;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
    return false;
  value = int(result);
  return true;
}

}  // namespace

int StrToInt(const QString& text) {
  int value = 0;
  if (!ParseInt(text, value))
    throw TConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}

int StrToIntDef(const QString& text, int fallback) {
  int value = 0;
  return ParseInt(text, value) ? value : fallback;
}

double StrToFloat(const QString& text) {
  // Accept either decimal separator so a number travels between locales;
  // reject anything strtod would silently skip or stop early on.
  QByteArray bytes = text.toLatin1();
  bool ok = !bytes.isEmpty() && text.size() == bytes.size();
  int separators = 0;
  for (char& c : bytes) {
    if (c == ',' || c == '.') {
      c = '.';
      ++separators;
    } else if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'e' || c == 'E')) {
      ok = false;
    }
  }
  if (ok && separators <= 1) {
    // QByteArray::toDouble always uses the C locale, unlike strtod.
    bool converted = false;
    const double value = bytes.toDouble(&converted);
    if (converted) return value;
  }
  throw TConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}
