#pragma once

class QIcon;

// Registers the resources built into the editor's library (help pages,
// application icon). The library is static, so its resources are only
// linked in when code asks for them; safe to call any number of times.
void InitAppResources();

// The program's icon in every size it is drawn at, for the windows and the
// desktop.
QIcon ApplicationIcon();
