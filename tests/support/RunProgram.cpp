#include "RunProgram.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

TProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutMs) {
  static QTemporaryDir runtimeDir;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  TProgramRun run;
  if (!process.waitForStarted(10000)) return run;
  process.closeWriteChannel();
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.Out = process.readAllStandardOutput();
  run.Err = process.readAllStandardError();
  return run;
}

TProgramRun RunTool(const QStringList& arguments, int timeoutMs) {
  return RunProgram(QStringLiteral(TESSELLAN_BINARY_DIR "/tessellan-tool"), arguments, timeoutMs);
}
