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

// Runs a program to its end (killing it after timeoutMs) with a private
// runtime folder, so Qt's notice about a missing one never reaches stderr.
TProgramRun RunProgram(const QString& program, const QStringList& arguments,
                       int timeoutMs = 120000);

// Runs the built tessellan-tool.
TProgramRun RunTool(const QStringList& arguments, int timeoutMs = 120000);
