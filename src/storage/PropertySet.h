#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// The two standard property sets a map file carries for the desktop's file
// summary. Both are written with code page 1252.

// Summary information property identifiers.
enum TSummaryProperty { pidTitle = 2, pidSubject = 3, pidAuthor = 4, pidComments = 6 };

// A "\x05SummaryInformation" stream holding text (VT_LPSTR) properties in the
// order given.
QByteArray BuildSummaryInformation(const std::vector<std::pair<int, QString>>& properties);

// A "\x05DocumentSummaryInformation" stream with no property but the code page.
QByteArray BuildDocumentSummaryInformation();
