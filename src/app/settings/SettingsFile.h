#pragma once

#include <functional>

class QSettings;

// Every change to the settings file goes through here. QSettings writes its
// file itself and, on a full disk, can rename a short file over the good one
// without noticing; so the change is made on a private copy of the file,
// the result is read back from a second copy and compared with what was
// meant, and only then are its bytes written aside and renamed over the
// settings file. `change` sets and removes values on a store that holds the
// current settings. Raises TError naming the file and the reason when
// anything fails; the settings file then stays as it was.
void ChangeSettingsFile(const std::function<void(QSettings&)>& change);

// Runs a write of the settings made as the editor ends. A failure leaves the
// previous file as it was and is told on stderr, since no window is left to
// show it.
void SaveAtExit(const std::function<void()>& save);
