#pragma once

#include <QApplication>
#include <QString>

#include <type_traits>
#include <utility>

// The program's application object. Its notify() is the last line of defence
// for errors: an exception escaping any event handler is shown by the default
// error display and goes no further, so none ever crosses the event loop.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// The application title, caption of the default error display.
QString ApplicationTitle();

// The default error display: a box captioned with the application title,
// error icon and OK, showing the message with its closing full stop.
void ShowErrorMessage(const QString& message);
// Shows the exception currently being handled by the default error display.
// Call only inside a catch block.
void ShowCurrentException();

// Runs a handler and shows any exception it raises by the default error
// display, so that it never unwinds through the toolkit's own frames. Window
// code wraps the handlers it hands to signals and widget events in it. A
// handler that takes no arguments ignores those the caller passes.
template <class F>
auto Guarded(F handler) {
  return [handler = std::move(handler)](auto&&... args) -> void {
    try {
      // The toolkit may probe the wrapper with fewer arguments than it passes
      // (to count what a slot takes): such probes must compile, and do nothing.
      if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
        handler(std::forward<decltype(args)>(args)...);
      else if constexpr (std::is_invocable_v<const F&>)
        handler();
    } catch (...) {
      ShowCurrentException();
    }
  };
}
