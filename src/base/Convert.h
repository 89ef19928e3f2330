#pragma once

#include <QString>

// Text-to-number conversions with the program's own rules: plain decimal text
// with an optional sign. Surrounding blanks are not accepted.

// Raises TConvertError when the text is not a 32-bit decimal integer.
int StrToInt(const QString& text);

// Returns fallback when the text is not a 32-bit decimal integer.
int StrToIntDef(const QString& text, int fallback);

// Parses a decimal fraction that may use "." or "," as its separator.
// Raises TConvertError when the text is not such a number.
double StrToFloat(const QString& text);
