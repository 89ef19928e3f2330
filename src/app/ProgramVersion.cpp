#include "ProgramVersion.h"

#include <QCoreApplication>
#include <QFileInfo>

QString ProgramVersion() {
  return QStringLiteral(TESSELLAN_VERSION);
}

QString GetFileVersionText(const QString& file) {
  if (file.isEmpty()) return QString();
  const QString canonical = QFileInfo(file).canonicalFilePath();
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
  if (canonical.isEmpty() || canonical != program) return QString();
  return ProgramVersion();
}
