#pragma once

#include "base/MessageService.h"

// Shows the program's message boxes as real dialog boxes: icon, caption,
// text and the requested buttons, owned by the given window when the message
// names one.
class TMessageBoxService : public TMessageService {
 public:
  TMsgAnswer Show(const TMessage& message) override;
};
