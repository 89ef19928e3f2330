#pragma once

#include "base/MessageService.h"

#include <deque>
#include <vector>

// Records every message box the code under test shows and answers from a
// queue of scripted answers (the box's first button when the queue is empty).
class TScriptedMessageService : public TMessageService {
 public:
  TMsgAnswer Show(const TMessage& message) override;

  std::vector<TMessage> Shown;
  std::deque<TMsgAnswer> Answers;
};

// The service the test main installs; emptied before every test.
TScriptedMessageService& ScriptedMessages();
