#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TCommandLine;

// An option of a command: "--Name VALUE" when it has a value name, else the
// switch "--Name". A value with a range (Low <= High) must be a whole number
// within it.
struct TCommandOption {
  QString Name;
  QString ValueName;    // "N", "OUT.pdf"; empty for a switch
  QString Description;  // one line, for the command's --help
  int Low = 0;
  int High = -1;
};

// A command of tessellan-tool. Each command file registers its commands with
// a static TCommandRegistration, so adding a command never touches main.
struct TCommand {
  QString Name;
  QString Usage;        // arguments, for --help: "FILE OUT.png"
  QString Description;  // one line, for --help
  int Arguments = 0;    // how many arguments besides the options it takes
  std::vector<TCommandOption> Options;
  // Runs the command with its checked command line. Returns the exit
  // status; errors are raised as TError and reported by main.
  int (*Run)(const TCommandLine& line);
};

class TCommandRegistration {
 public:
  explicit TCommandRegistration(const TCommand& command);
};

const std::vector<TCommand>& Commands();

// The layer flags of a --layers value ("base,objects,walls"); raises TError
// for an unknown name.
quint8 ParseLayers(const QString& text);
