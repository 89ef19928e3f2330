#include "CommandLine.h"

#include "base/Error.h"

#include <algorithm>

namespace {

const QString kHelpName = QStringLiteral("help");

bool ReadNumber(const TCommandOption& option, const QString& text, int* value) {
  bool ok = false;
  const int number = text.toInt(&ok, 10);
  if (!ok || number < option.Low || number > option.High) return false;
  *value = number;
  return true;
}

QString Spelling(const TCommandOption& option) {
  QString text = QStringLiteral("--") + option.Name;
  if (!option.ValueName.isEmpty()) text += QLatin1Char(' ') + option.ValueName;
  return text;
}

}  // namespace

TCommandLine::TCommandLine(const TCommand& command, const QStringList& args) : fCommand(command) {
  fParser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), kHelpName}));
  for (const TCommandOption& option : command.Options)
    fParser.addOption(QCommandLineOption(option.Name, option.Description, option.ValueName));
  // The parser takes the program's name first.
  if (!fParser.parse(QStringList(QStringLiteral("tessellan-tool")) + args))
    throw TError(fParser.errorText());
  fHelp = fParser.isSet(kHelpName);
  if (fHelp) return;
  for (const TCommandOption& option : command.Options) {
    int value = 0;
    if (option.Low <= option.High && fParser.isSet(option.Name) &&
        !ReadNumber(option, fParser.value(option.Name), &value))
      throw TError(QStringLiteral("--%1 takes a whole number from %2 to %3.")
                       .arg(option.Name)
                       .arg(option.Low)
                       .arg(option.High));
  }
  fArguments = fParser.positionalArguments();
  if (fArguments.size() != command.Arguments) FailUsage();
}

QString TCommandLine::Help() const {
  QString text = UsageLine() + QStringLiteral("\n\n%1\n\nOptions:\n").arg(fCommand.Description);
  std::vector<std::pair<QString, QString>> rows;
  for (const TCommandOption& option : fCommand.Options)
    rows.push_back({Spelling(option), option.Description});
  rows.push_back({QStringLiteral("-h, --help"), QStringLiteral("Show this help.")});
  qsizetype width = 0;
  for (const auto& row : rows)
    width = std::max(width, row.first.size());
  for (const auto& row : rows)
    text +=
        QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second + QLatin1Char('\n');
  return text;
}

QString TCommandLine::Value(const QString& name, const QString& fallback) const {
  return fParser.isSet(name) ? fParser.value(name) : fallback;
}

int TCommandLine::Number(const QString& name, int fallback) const {
  int value = fallback;
  // The value was checked against the range when the line was parsed.
  for (const TCommandOption& option : fCommand.Options)
    if (option.Name == name && fParser.isSet(name)) ReadNumber(option, fParser.value(name), &value);
  return value;
}

QString TCommandLine::UsageLine() const {
  // A command without arguments or options has no usage words to follow.
  return QStringLiteral("Usage: tessellan-tool ") + fCommand.Name +
         (fCommand.Usage.isEmpty() ? QString() : QLatin1Char(' ') + fCommand.Usage);
}

void TCommandLine::FailUsage() const {
  throw TError(UsageLine());
}
