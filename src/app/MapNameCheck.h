#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// The text without the characters a file name may not hold here: \ / . * &
// ! @ # $ % ^ ` and ?.
QString StripInvalidFileNameChars(const QString& text);

// The text with leading and trailing blanks and control characters removed.
QString TrimmedName(const QString& text);

// Which dialog asks: the wording names a map name or the default map name.
enum class TMapNameKind { MapName, DefaultMapName };

// The check the OK button of both dialogs makes. When the trimmed and
// stripped name differs from the field's text, asks (owned by the dialog)
// whether to go on with the cleaned name. Either way the field then shows
// the cleaned name. False when the user answered No: the dialog stays open.
bool CheckMapName(QLineEdit& field, TMapNameKind kind, QWidget* owner);
