#pragma once

#include <QByteArray>
#include <QString>

// Sub-tile identities are GUIDs held as their registry text:
// "{33FA80D4-9933-476A-8B8C-4FC1EDE16FD7}" (38 characters, upper-case hex).
// In files they are 16 bytes in the Windows memory layout: a 32-bit
// little-endian value, two 16-bit little-endian values, then 8 bytes.

constexpr int kGuidSize = 16;

// Text of the 16 bytes at data.
QString GuidBytesToText(const char* data);
// The 16 bytes of a GUID text; raises TError when the text is not one.
QByteArray GuidTextToBytes(const QString& text);
bool IsGuidText(const QString& text);

// A new random GUID.
QString NewGuidText();
// A name-based GUID (SHA-1, version 5): the same name always gives the same
// identity, so generated files are reproducible.
QString NameGuidText(const QString& name);
