#include "RunProgram.h"
#include "base/FileName.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

#include <sys/resource.h>

namespace {

// A shell word that printf spells byte by byte.
QString ShellWord(const QByteArray& bytes) {
  QString word = QStringLiteral("\"$(printf '");
  for (const char byte : bytes)
    word +=
        QStringLiteral("\\%1").arg(uint(static_cast<unsigned char>(byte)), 3, 8, QLatin1Char('0'));
  return word + QStringLiteral("')\"");
}

void Lower(int resource, qint64 bytes) {
  if (bytes < 0) return;
  rlimit limit{};
  getrlimit(resource, &limit);
  limit.rlim_cur = rlim_t(bytes);
  setrlimit(resource, &limit);
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

TProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutMs,
                       const TChildLimits& limits) {
  static QTemporaryDir runtimeDir;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setChildProcessModifier([limits] {
    // The default action on SIGXFSZ, whatever the test process does: the
    // program must ignore the signal itself.
    std::signal(SIGXFSZ, SIG_DFL);
    Lower(RLIMIT_FSIZE, limits.FileSize);
    Lower(RLIMIT_DATA, limits.Data);
  });
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

TProgramRun RunToolWithLimits(const QStringList& arguments, const TChildLimits& limits,
                              int timeoutMs) {
  return RunProgram(QStringLiteral(TESSELLAN_BINARY_DIR "/tessellan-tool"), arguments, timeoutMs,
                    limits);
}
