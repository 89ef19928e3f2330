// tessellan-tool: inspects and edits tilesets and maps from the command line,
// through the same model code the editor uses.
#include "Command.h"
#include "CommandLine.h"
#include "base/Error.h"
#include "base/FileName.h"
#include "base/MessageService.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdio>

namespace {

std::vector<TCommand>& Registry() {
  static std::vector<TCommand> commands;
  return commands;
}

void PrintHelp(FILE* out) {
  std::fprintf(out, "Usage: tessellan-tool COMMAND [ARGUMENTS]\n\nCommands:\n");
  for (const TCommand& command : Registry())
    std::fprintf(out, "  %s %s\n      %s\n", qPrintable(command.Name), qPrintable(command.Usage),
                 qPrintable(command.Description));
  std::fprintf(out,
               "\nRun tessellan-tool COMMAND --help for a command's options. On failure the\n"
               "tool exits with status 1 and writes the error, or each message box the\n"
               "editor would have shown (caption, then text), to stderr.\n");
}

// Drops Qt's notice that XDG_RUNTIME_DIR is unset (common in scripts and
// services), so that stderr carries only what the tool itself reports.
QtMessageHandler gDefaultHandler = nullptr;

void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  gDefaultHandler(type, context, text);
}

}  // namespace

TCommandRegistration::TCommandRegistration(const TCommand& command) {
  Registry().push_back(command);
}

const std::vector<TCommand>& Commands() {
  return Registry();
}

int main(int argc, char** argv) {
#ifdef SIGXFSZ
  // A write past the file-size limit then fails as "File too large" and is
  // reported like any failed write, instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  // Images are painted with QPainter and fonts, which need a GUI application;
  // the offscreen platform needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  gDefaultHandler = qInstallMessageHandler(FilterMessages);
  QGuiApplication app(argc, argv);
  SetMessageService(std::make_unique<TStderrMessageService>());

  // Qt has taken its own options out of argv; file names keep their bytes.
  QStringList args = ProgramArguments(argc, argv);
  if (args.isEmpty() || args.first() == QLatin1String("--help") ||
      args.first() == QLatin1String("-h") || args.first() == QLatin1String("help")) {
    PrintHelp(args.isEmpty() ? stderr : stdout);
    return args.isEmpty() ? 1 : 0;
  }
  const QString name = args.takeFirst();
  for (const TCommand& command : Registry()) {
    if (command.Name != name) continue;
    try {
      const TCommandLine line(command, args);
      if (!line.HelpRequested()) return command.Run(line);
      std::fputs(qPrintable(line.Help()), stdout);
      return 0;
    } catch (...) {
      std::fprintf(stderr, "%s\n", qPrintable(CurrentExceptionText()));
      return 1;
    }
  }
  std::fprintf(stderr, "Unknown command \"%s\". Run tessellan-tool --help for the list.\n",
               qPrintable(name));
  return 1;
}
