// Every command of tessellan-tool reads its options with the same parser:
// --help shows its usage and options, and an unknown option, a missing value,
// a bad number or a wrong count of arguments fails alike, before anything is
// read or written.
#include "support/RunProgram.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TListedCommand {
  QString Name;
  QString Usage;
};

// The commands as the tool's own help lists them: "  name usage".
std::vector<TListedCommand> ListedCommands() {
  const TProgramRun run = RunTool({QStringLiteral("--help")});
  EXPECT_EQ(run.ExitCode, 0);
  std::vector<TListedCommand> commands;
  static const QRegularExpression kLine(QStringLiteral("^  (\\S+) (.*)$"));
  for (const QString& line : QString::fromLocal8Bit(run.Out).split(QLatin1Char('\n'))) {
    const QRegularExpressionMatch match = kLine.match(line);
    if (match.hasMatch()) commands.push_back({match.captured(1), match.captured(2)});
  }
  return commands;
}

struct TListedOption {
  QString Name;  // with its dashes
  QString ValueName;
};

// The options a command's --help lists, without -h, --help.
std::vector<TListedOption> ListedOptions(const QByteArray& help) {
  std::vector<TListedOption> options;
  static const QRegularExpression kLine(QStringLiteral("^  (--[a-z-]+)(?: (\\S+))?  "));
  for (const QString& line : QString::fromLocal8Bit(help).split(QLatin1Char('\n'))) {
    const QRegularExpressionMatch match = kLine.match(line);
    if (match.hasMatch()) options.push_back({match.captured(1), match.captured(2)});
  }
  return options;
}

QString LastLine(const QByteArray& err) {
  return QString::fromLocal8Bit(err).trimmed().split(QLatin1Char('\n')).last();
}

}  // namespace

TEST(ToolCommandLine, EveryCommandAnswersHelpAndRefusesBadOptionsAlike) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::vector<TListedCommand> commands = ListedCommands();
  ASSERT_GE(commands.size(), 10u);
  for (const TListedCommand& command : commands) {
    SCOPED_TRACE(command.Name.toStdString());
    const QString usage =
        (QStringLiteral("Usage: tessellan-tool ") + command.Name + QLatin1Char(' ') + command.Usage)
            .trimmed();
    // Its arguments name files in the empty folder; the words of the usage
    // before the first option.
    QStringList arguments;
    for (const QString& word : command.Usage.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      if (word.startsWith(QLatin1Char('[')) || word.startsWith(QLatin1Char('('))) break;
      arguments << dir.filePath(QStringLiteral("file%1").arg(arguments.size()));
    }

    for (const char* help : {"--help", "-h"}) {
      const TProgramRun run = RunTool({command.Name, QString::fromLatin1(help)});
      EXPECT_EQ(run.ExitCode, 0);
      EXPECT_TRUE(run.Err.isEmpty()) << run.Err.constData();
      EXPECT_TRUE(QString::fromLocal8Bit(run.Out).startsWith(usage + QStringLiteral("\n\n")))
          << run.Out.constData();
      EXPECT_TRUE(run.Out.contains("  -h, --help  ")) << run.Out.constData();
    }
    const std::vector<TListedOption> options =
        ListedOptions(RunTool({command.Name, QStringLiteral("--help")}).Out);
    for (const TListedOption& option : options)
      EXPECT_TRUE(command.Usage.contains(option.Name)) << option.Name.toStdString();

    struct TFailure {
      QStringList Args;
      QString Names;  // what the message must contain
    };
    std::vector<TFailure> failures = {
        {arguments + QStringList{QStringLiteral("--no-such-option")},
         QStringLiteral("no-such-option")},
        {arguments + QStringList{dir.filePath(QStringLiteral("extra"))}, usage},
    };
    if (!arguments.isEmpty()) failures.push_back({{}, usage});
    for (const TListedOption& option : options) {
      if (option.ValueName.isEmpty()) {
        failures.push_back(
            {arguments + QStringList{option.Name + QStringLiteral("=1")}, option.Name});
        continue;
      }
      failures.push_back({arguments + QStringList{option.Name}, option.Name});
      if (option.ValueName == QLatin1String("N"))
        for (const QString& bad : {QStringLiteral("many"), QStringLiteral("1.5"),
                                   QStringLiteral("99999999999"), QStringLiteral("-2147483648")})
          failures.push_back({arguments + QStringList{option.Name, bad},
                              option.Name + QStringLiteral(" takes a whole number from ")});
    }
    for (const TFailure& failure : failures) {
      SCOPED_TRACE(failure.Args.join(QLatin1Char(' ')).toStdString());
      const TProgramRun run = RunTool(QStringList{command.Name} + failure.Args);
      EXPECT_EQ(run.ExitCode, 1);
      EXPECT_TRUE(run.Out.isEmpty()) << run.Out.constData();
      EXPECT_TRUE(LastLine(run.Err).contains(failure.Names)) << run.Err.constData();
      EXPECT_TRUE(QDir(dir.path()).isEmpty());
    }
  }
}
