#include "MapNameCheck.h"

#include "base/MessageService.h"

#include <QLineEdit>

QString StripInvalidFileNameChars(const QString& text) {
  static const QString kInvalid = QStringLiteral("\\/.*&!@#$%^`?");
  QString result;
  result.reserve(text.size());
  for (const QChar c : text)
    if (!kInvalid.contains(c)) result.append(c);
  return result;
}

QString TrimmedName(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first].unicode() <= u' ')
    ++first;
  while (last > first && text[last - 1].unicode() <= u' ')
    --last;
  return text.mid(first, last - first);
}

bool CheckMapName(QLineEdit& field, TMapNameKind kind, QWidget* owner) {
  const QString typed = field.text();
  const QString cleaned = StripInvalidFileNameChars(TrimmedName(typed));
  bool proceed = true;
  if (cleaned != typed) {
    const QString what = kind == TMapNameKind::MapName ? QStringLiteral("new map name")
                                                       : QStringLiteral("new default map name");
    const QString text =
        QStringLiteral(
            "The map name \"%1\" contains characters that cannot be used in a file "
            "name. Tessellan removed the invalid characters, and the %2 is \"%3\".")
            .arg(typed, what, cleaned) +
        QStringLiteral(
            "\r\n\r\n Do you wish to continue with the %1? Click Yes to continue and "
            "use the %1, click No to enter a different name.")
            .arg(what);
    proceed = ShowMessage(text, QStringLiteral("Invalid Map Name"), TMsgIcon::Warning, mbYes | mbNo,
                          owner) == TMsgAnswer::Yes;
  }
  field.setText(cleaned);
  return proceed;
}
