#include "RunProgram.h"
#include "base/FileName.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// A shell word that printf spells byte by byte.
QString ShellWord(const QByteArray& bytes) {
  QString word = QStringLiteral("\"$(printf '");
  for (const char byte : bytes)
    word +=
        QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(byte)), 3, 8, QLatin1Char('0'));
  return word + QStringLiteral("')\"");
}

}  // namespace

void StartProgram(QProcess& process, const QString& program, const QStringList& arguments) {
  if (std::none_of(arguments.begin(), arguments.end(), HasRawBytes)) {
    process.start(program, arguments);
    return;
  }
  QString command = QStringLiteral("exec \"$0\"");
  for (const QString& argument : arguments)
    command += QLatin1Char(' ') + ShellWord(EncodeFileName(argument));
  process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command, program});
}

TProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutMs) {
  static QTemporaryDir runtimeDir;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
  QProcess process;
  process.setProcessEnvironment(environment);
  StartProgram(process, program, arguments);
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
