#include "ScriptedMessages.h"

TMsgAnswer TScriptedMessageService::Show(const TMessage& message) {
  Shown.push_back(message);
  if (WhileShown) WhileShown(message);
  if (Answers.empty()) return FirstAnswer(message.Buttons);
  const TMsgAnswer answer = Answers.front();
  Answers.pop_front();
  return answer;
}
