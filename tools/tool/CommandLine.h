#pragma once

#include "Command.h"

#include <QCommandLineParser>

// A command's arguments read against its option table by one parser, so
// every command answers --help and refuses an unknown option, a missing
// value, a bad number and a wrong count of arguments alike, before it reads
// or writes anything. Options may stand anywhere among the arguments; "--"
// ends them.
class TCommandLine {
 public:
  // Raises TError naming the option at fault, or giving the usage.
  TCommandLine(const TCommand& command, const QStringList& args);

  bool HelpRequested() const { return fHelp; }
  // The command's usage, description and options.
  QString Help() const;

  // The arguments besides the options: as many as the command takes.
  QString Argument(int index) const { return fArguments.value(index); }
  bool IsSet(const QString& name) const { return fParser.isSet(name); }
  // The option's value (the last one given), or fallback when it is absent.
  QString Value(const QString& name, const QString& fallback = QString()) const;
  // A whole number option's value, within its range, or fallback.
  int Number(const QString& name, int fallback) const;
  // Raises TError with the command's usage.
  QString UsageLine() const;
  [[noreturn]] void FailUsage() const;

 private:
  const TCommand& fCommand;
  QCommandLineParser fParser;
  QStringList fArguments;
  bool fHelp = false;
};
