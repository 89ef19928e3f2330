#pragma once

// Shows the busy (hourglass) cursor for its lifetime. Does nothing when the
// program runs without a graphical interface.
class TBusyCursor {
 public:
  TBusyCursor();
  ~TBusyCursor();
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

 private:
  bool fActive = false;
};

// Lets pending window events run during long work, so the window repaints and
// progress shows. Does nothing without a graphical interface.
void ProcessPendingMessages();
