#pragma once

#include <QString>

// The version text compiled into the program, "1.0.3.220".
QString ProgramVersion();

// The version text of a file: the program's version for the running
// program's own file (compared by canonical path), empty for any other file.
QString GetFileVersionText(const QString& file);
