#pragma once

#include "base/MessageService.h"

#include <deque>
#include <functional>
#include <vector>

// Records every message box the code under test shows and answers from a
// queue of scripted answers (the box's first button when the queue is empty).
// WhileShown runs while a box is "open", as the user's time with a real box
// would: events may be processed there, as in a box's own event loop.
class TScriptedMessageService : public TMessageService {
 public:
  TMsgAnswer Show(const TMessage& message) override;

  std::vector<TMessage> Shown;
  std::deque<TMsgAnswer> Answers;
  std::function<void(const TMessage&)> WhileShown;
};

// The service the test main installs; emptied before every test.
TScriptedMessageService& ScriptedMessages();
