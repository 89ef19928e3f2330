#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a program run by a test did; ExitCode is -1 when it did not start,
// crashed or ran out of time.
struct TProgramRun {
  int ExitCode = -1;
  QByteArray Out;
  QByteArray Err;
};

class QProcess;

// Starts a program. Arguments are file names in the sense of
// base/FileName.h: one with bytes that are not UTF-8 reaches the program as
// those bytes (QProcess alone would pass U+FFFD).
void StartProgram(QProcess& process, const QString& program, const QStringList& arguments);

// Limits of a child process, set before it starts; negative: unchanged.
struct TChildLimits {
  // The largest file it may write: a write past it fails as "File too
  // large" (the program must ignore SIGXFSZ).
  qint64 FileSize = -1;
  // Its heap and other private memory, in bytes.
  qint64 Data = -1;
};

// Runs a program to its end (killing it after timeoutMs) with a private
// runtime folder, so Qt's notice about a missing one never reaches stderr.
TProgramRun RunProgram(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
                       const TChildLimits& limits = {});

// Runs the built tessellan-tool.
TProgramRun RunTool(const QStringList& arguments, int timeoutMs = 120000);
// Runs the built tessellan-tool within limits: with a file-size limit its
// writes past it fail through the real file system.
TProgramRun RunToolWithLimits(const QStringList& arguments, const TChildLimits& limits,
                              int timeoutMs = 120000);
