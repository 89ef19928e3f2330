#pragma once

#include <QString>

#include <functional>

class QUrl;

// The product's web site, opened by the Help menu and the about box.
extern const QString kTessellanWebAddress;

// The address as the browser gets it: unless it is a file path (its second
// character is ":" or its first is "\"), every space becomes "_".
QString BrowserAddress(const QString& address);

// Starts the desktop's default browser on the address. When none can be
// started, tells the user where to go instead.
void OpenInDefaultBrowser(const QString& address);

// What starts the browser: true when it started one. The desktop's own
// waits briefly for the launcher's verdict, as a launcher starts whether or
// not anything can open the address. Replaceable so that tests can make it
// fail; returns the previous opener. An empty function restores the
// desktop's own.
using TUrlOpener = std::function<bool(const QUrl&)>;
TUrlOpener SetUrlOpener(TUrlOpener opener);
