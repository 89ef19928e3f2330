#pragma once

#include "Storage.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Reading and writing files in the Compound File Binary format.

enum class TOpenMode { Read, ReadWrite };

// True when the file exists, can be read and starts with the 8-byte
// compound-file signature.
bool IsStorageFile(const QString& path);

// Reads the whole file into memory and releases it. The mode decides how
// the file is opened: ReadWrite fails on a file that cannot be written, as
// an exclusive read-write open would. Raises TStorageError.
QByteArray ReadFileBytes(const QString& path, TOpenMode mode);

// ReadFileBytes, then ParseCompoundFile.
std::unique_ptr<TStorage> ReadCompoundFile(const QString& path, TOpenMode mode);

// Parses a compound file held in memory into its tree of storages and
// streams. Every structure is checked; damage raises TStorageError, never a
// crash, a hang or a silently shortened stream or missing element. Storages
// nested more than 64 levels below the root are refused as damage: no map or
// tileset comes near that.
std::unique_ptr<TStorage> ParseCompoundFile(const QByteArray& bytes);

// The bytes of a version 3 compound file holding the tree.
QByteArray SerializeCompoundFile(const TStorage& root);

// Writes the tree through TWriteAsideFile, so a failure leaves any previous
// file untouched. Raises TStorageError naming the path and the reason: a
// missing folder (folders are not created here), a folder that cannot be
// written, a target that is a folder or read-only (owner-write bit clear), a
// failed write with the system's reason.
void WriteCompoundFile(const QString& path, const TStorage& root);
