#pragma once

#include <QString>

#include <memory>

class QObject;

enum class TMsgIcon { None, Information, Warning, Error, Question };

// Buttons of a message box, combined with |.
enum TMsgButton : unsigned { mbOK = 1, mbYes = 2, mbNo = 4, mbCancel = 8 };
using TMsgButtons = unsigned;

enum class TMsgAnswer { OK, Yes, No, Cancel };

struct TMessage {
  QString Text;
  QString Caption;
  TMsgIcon Icon = TMsgIcon::None;
  TMsgButtons Buttons = mbOK;
  // The window that owns the box, or none for a box without an owner. The
  // model never knows a window; only the application passes one.
  QObject* Owner = nullptr;
};

// Shows message boxes and asks questions. The application installs one that
// shows real boxes, the command-line tool one that prints them, and the tests
// one that records them and gives scripted answers.
class TMessageService {
 public:
  virtual ~TMessageService() = default;
  virtual TMsgAnswer Show(const TMessage& message) = 0;
};

// Installs a service and returns the previous one. Without an installed
// service, boxes are printed to standard error and answered with the first
// button they offer.
std::unique_ptr<TMessageService> SetMessageService(std::unique_ptr<TMessageService> service);

TMsgAnswer ShowMessage(const QString& text, const QString& caption, TMsgIcon icon,
                       TMsgButtons buttons = mbOK, QObject* owner = nullptr);

// Prints each box as its caption on one line and its text on the next, and
// answers with the first button offered.
class TStderrMessageService : public TMessageService {
 public:
  TMsgAnswer Show(const TMessage& message) override;
};

// The answer a box gives when nobody can be asked: its first button.
TMsgAnswer FirstAnswer(TMsgButtons buttons);
