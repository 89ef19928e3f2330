#pragma once

#include <QString>

#include <stdexcept>

// The one exception type of the program. Every error carries the message text
// that is eventually shown to the user, so code raising it must phrase the
// text for the user, not for the developer.
class TError : public std::runtime_error {
 public:
  explicit TError(const QString& message);

  const QString& Message() const noexcept { return fMessage; }

 private:
  QString fMessage;
};

// Raised when a text that must be a number is not one.
class TConvertError : public TError {
 public:
  using TError::TError;
};

// Raised for an index outside a list: "List index out of bounds (5)".
class TIndexError : public TError {
 public:
  explicit TIndexError(qsizetype index);
};

// The default error display's text: the message with a full stop appended
// unless its last character is a full stop or sorts before one.
QString ErrorDisplayText(const QString& message);

// The message text of the exception being handled, for a catch (...) block:
// a TError's message, a plain sentence for a lack of memory, the decoded
// what() of another standard exception, or a fixed text for anything else.
// Outside a handler it gives the fixed text.
QString CurrentExceptionText();
