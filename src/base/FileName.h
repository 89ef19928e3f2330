#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

class QFile;

// File names as the system holds them. On Linux a name is any bytes, while
// Qt decodes names as UTF-8, replaces every byte that is not part of a valid
// sequence with U+FFFD and leaves such files out of its folder listings: a
// name like that reaches another file, or none, through QFile or QFileInfo.
// The names decoded here keep each such byte b as the lone surrogate
// U+DC00 + b (U+DC80 to U+DCFF), which decoded text never holds, so that the
// name encodes back to exactly the bytes it came from. Valid UTF-8 decodes
// as Qt decodes it. Elsewhere (Windows) names are text and pass unchanged.

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);

// Whether a name keeps bytes that are not UTF-8: Qt's own file classes would
// take it for another name.
bool HasRawBytes(const QString& name);

// The program's arguments after its own name, each decoded as a file name.
// On Windows, Qt's own list.
QStringList ProgramArguments(int argc, char** argv);

// The name made absolute against the current folder (as the system names
// it, not as Qt decodes it) and cleaned of "." and "..".
QString AbsoluteFileName(const QString& name);

// The name with symbolic links resolved when the file exists, otherwise
// AbsoluteFileName.
QString CanonicalFileName(const QString& name);

// What the system says about a file (symbolic links followed).
struct TFileStatus {
  bool Exists = false;
  bool IsFile = false;
  // The owner-write permission bit: the program's read-only attribute.
  bool OwnerWritable = false;
};
TFileStatus FileStatus(const QString& name);

// Opens an existing file by its name, raw bytes included, for reading
// (ReadOnly) or reading and writing (ReadWrite); never creates one. False
// with the system's reason in error.
bool OpenExistingFile(QFile& file, const QString& name, QIODevice::OpenMode mode, QString& error);

// Writing goes through Qt's file classes: a name with raw bytes would create
// another file. Raises TError naming the file when the name has them.
void RequireWritableName(const QString& name);
