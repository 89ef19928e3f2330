#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page of every text in our files. Every
// byte decodes to one character and encodes back to the same byte (the five
// bytes the code page leaves undefined map to U+0081, U+008D, U+008F, U+0090
// and U+009D). Characters the code page cannot hold are written as '?'.
QString FromAnsi(const QByteArray& bytes);
QString FromAnsi(const char* data, qsizetype size);
QByteArray ToAnsi(const QString& text);
