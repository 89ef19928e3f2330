#pragma once

#include <QString>
#include <QStringList>

// A command of tessellan-tool. Each command file registers its commands with
// a static TCommandRegistration, so adding a command never touches main.
struct TCommand {
  QString Name;
  QString Usage;        // arguments, for --help: "FILE OUT.png"
  QString Description;  // one line, for --help
  // Runs the command with the arguments after its name. Returns the exit
  // status; errors are raised as TError and reported by main.
  int (*Run)(const QStringList& args);
};

class TCommandRegistration {
 public:
  explicit TCommandRegistration(const TCommand& command);
};

const std::vector<TCommand>& Commands();

// The layer flags of a --layers value ("base,objects,walls"); raises TError
// for an unknown name.
quint8 ParseLayers(const QString& text);
