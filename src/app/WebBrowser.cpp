#include "WebBrowser.h"

#include "base/Busy.h"
#include "base/MessageService.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <utility>

const QString kTessellanWebAddress = QStringLiteral("https://tessellan.example.org/");

namespace {

// How long the desktop's launcher may take to report that nothing opens the
// address. One still running by then has started a browser: some launchers
// wait until the browser they started is closed.
constexpr int kLauncherVerdictMs = 2000;

// Runs the launcher on the address; false when it cannot start or ends
// with a failure.
bool Launch(const QString& launcher, const QUrl& url) {
  TBusyCursor busy;
  // It lives until the launcher ends, or as long as the application.
  auto* process = new QProcess(QCoreApplication::instance());
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->setStandardInputFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  process->start(launcher, {QString::fromUtf8(url.toEncoded())});
  if (!process->waitForStarted()) {
    process->deleteLater();
    return false;
  }
  if (!process->waitForFinished(kLauncherVerdictMs)) return process->state() == QProcess::Running;
  return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

// The desktop's own way to open an address. Qt's only reports that the
// launcher started, which it also does when no browser is installed; so,
// where the freedesktop launcher is, its verdict is awaited.
bool DesktopOpen(const QUrl& url) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (!launcher.isEmpty()) return Launch(launcher, url);
#endif
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
