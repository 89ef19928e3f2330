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

// Reads the whole file into memory, releases it and parses it. The mode
// decides how the file is opened: ReadWrite fails on a file that cannot be
// written, as an exclusive read-write open would. Raises TStorageError.
std::unique_ptr<TStorage> ReadCompoundFile(const QString& path, TOpenMode mode);

// Parses a compound file held in memory into its tree of storages and
// streams. Every structure is checked; damage raises TStorageError, never a
// crash, a hang or a silently shortened stream or missing element.
std::unique_ptr<TStorage> ParseCompoundFile(const QByteArray& bytes);

// The bytes of a version 3 compound file holding the tree.
QByteArray SerializeCompoundFile(const TStorage& root);

// Writes the tree to a temporary file in the target's folder and renames it
// over the target, so a failure leaves any previous file untouched. Raises
// TStorageError.
void WriteCompoundFile(const QString& path, const TStorage& root);
