#pragma once

#include "print/PrintAids.h"

#include <QString>

// The assembly aids the user last chose for printing, kept in the settings
// store in a group of their own ("1.00.000/PrintAids"), apart from the
// program's other settings. Each aid is a value "1" (on) or "0" (off);
// anything else, or nothing, reads as off.

extern const QString kPrintAidsKey;

TPrintAids LoadPrintAids();
// Writes the aids when they differ from the kept ones. Raises TError when
// the write fails, the settings file then staying as it was.
void KeepPrintAids(const TPrintAids& aids);
