// The text every handler shows for a caught exception, whatever was thrown.
#include "base/Error.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

TEST(CurrentExceptionText, NamesEveryKindOfExceptionInWords) {
  const struct {
    const char* What;
    std::function<void()> Raise;
    QString Text;
  } cases[] = {
      {"an error of the program", [] { throw TError(QStringLiteral("Stopped at cell 3.")); },
       QStringLiteral("Stopped at cell 3.")},
      {"a kind of error", [] { throw TConvertError(QStringLiteral("'x' is not a number")); },
       QStringLiteral("'x' is not a number")},
      {"an error without a message", [] { throw TError(QString()); }, QString()},
      {"a lack of memory", [] { throw std::bad_alloc(); }, QStringLiteral("Out of memory.")},
      {"an array too large", [] { throw std::bad_array_new_length(); },
       QStringLiteral("Out of memory.")},
      {"another standard exception", [] { throw std::out_of_range("vector index 9"); },
       QStringLiteral("vector index 9")},
      {"a text in the system's encoding",
       [] { throw std::runtime_error("H\xc3\xb6hle \xe2\x80\x94 gone"); },
       QString::fromLocal8Bit("H\xc3\xb6hle \xe2\x80\x94 gone")},
      {"something that is no exception", [] { throw 42; },
       QStringLiteral("An unexpected error occurred")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    QString text = QStringLiteral("not caught");
    try {
      c.Raise();
    } catch (...) {
      text = CurrentExceptionText();
    }
    EXPECT_EQ(text.toStdString(), c.Text.toStdString());
  }
  // Outside a handler there is nothing to rethrow.
  EXPECT_EQ(CurrentExceptionText(), QStringLiteral("An unexpected error occurred"));
}
