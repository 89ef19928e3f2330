#include "Json.h"

#include <cmath>

void TJsonWriter::Newline() {
  fText += '\n';
  fText += QByteArray(int(fHasMember.size()) * 2, ' ');
}

void TJsonWriter::BeforeValue() {
  if (fAfterKey) {
    fAfterKey = false;
    return;
  }
  if (!fHasMember.empty()) {
    if (fHasMember.back()) fText += ',';
    fHasMember.back() = true;
    Newline();
  }
}

TJsonWriter& TJsonWriter::BeginObject() {
  BeforeValue();
  fText += '{';
  fHasMember.push_back(false);
  return *this;
}

TJsonWriter& TJsonWriter::Close(char bracket) {
  const bool hadMembers = fHasMember.back();
  fHasMember.pop_back();
  if (hadMembers) Newline();
  fText += bracket;
  return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
  return Close('}');
}

TJsonWriter& TJsonWriter::BeginArray() {
  BeforeValue();
  fText += '[';
  fHasMember.push_back(false);
  return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
  return Close(']');
}

TJsonWriter& TJsonWriter::Key(const QString& name) {
  BeforeValue();
  // The name is written as a string value that must not start a new member.
  fAfterKey = true;
  Value(name);
  fText += ": ";
  fAfterKey = true;
  return *this;
}

TJsonWriter& TJsonWriter::Value(const QString& text) {
  BeforeValue();
  fText += '"';
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u == '"' || u == '\\') {
      fText += '\\';
      fText += char(u);
    } else if (u == '\n') {
      fText += "\\n";
    } else if (u == '\r') {
      fText += "\\r";
    } else if (u == '\t') {
      fText += "\\t";
    } else if (u < 0x20) {
      fText += QStringLiteral("\\u%1").arg(int(u), 4, 16, QLatin1Char('0')).toLatin1();
    } else {
      fText += QString(c).toUtf8();
    }
  }
  fText += '"';
  return *this;
}

TJsonWriter& TJsonWriter::Value(qint64 number) {
  BeforeValue();
  fText += QByteArray::number(number);
  return *this;
}

TJsonWriter& TJsonWriter::Value(double number) {
  BeforeValue();
  fText += std::isfinite(number) ? QByteArray::number(number, 'g', 9) : QByteArray("null");
  return *this;
}

TJsonWriter& TJsonWriter::Value(bool flag) {
  BeforeValue();
  fText += flag ? "true" : "false";
  return *this;
}
