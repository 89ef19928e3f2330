#pragma once

#include <QString>

class TStorage;

// A scalar property is one stream named after it, holding the value as
// single-byte text followed by one NUL byte.

// The stream's bytes up to the first NUL (all of them when there is none).
// A missing stream raises TStorageError.
QString ReadProperty(const TStorage& storage, const QString& name);

// Creates (or replaces) the stream with the text and one NUL byte.
void WriteProperty(TStorage& storage, const QString& name, const QString& text);
