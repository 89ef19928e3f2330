#include "WebBrowser.h"

#include "base/MessageService.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

const QString kTessellanWebAddress = QStringLiteral("https://tessellan.example.org/");

namespace {

bool DesktopOpen(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

TUrlOpener& Opener() {
  static TUrlOpener opener = DesktopOpen;
  return opener;
}

}  // namespace

QString BrowserAddress(const QString& address) {
  const bool filePath = (address.size() >= 2 && address[1] == QLatin1Char(':')) ||
                        address.startsWith(QLatin1Char('\\'));
  if (filePath) return address;
  QString result = address;
  result.replace(QLatin1Char(' '), QLatin1Char('_'));
  return result;
}

void OpenInDefaultBrowser(const QString& address) {
  const QString target = BrowserAddress(address);
  if (Opener()(QUrl::fromUserInput(target))) return;
  ShowMessage(QStringLiteral("The application was unable to find a default browser for the "
                             "system.  Please open a web browser and go to ") +
                  target,
              QStringLiteral("Unable to Find Browser"), TMsgIcon::Warning, mbOK);
}

TUrlOpener SetUrlOpener(TUrlOpener opener) {
  if (!opener) opener = DesktopOpen;
  return std::exchange(Opener(), std::move(opener));
}
