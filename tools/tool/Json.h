#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A small JSON writer that keeps object members in the order they are added
// (the tool's output lists fields in a documented order).
class TJsonWriter {
 public:
  TJsonWriter& BeginObject();
  TJsonWriter& EndObject();
  TJsonWriter& BeginArray();
  TJsonWriter& EndArray();
  // The name of the next member of the current object.
  TJsonWriter& Key(const QString& name);
  TJsonWriter& Value(const QString& text);
  TJsonWriter& Value(const char* text) { return Value(QString::fromUtf8(text)); }
  TJsonWriter& Value(qint64 number);
  TJsonWriter& Value(int number) { return Value(qint64(number)); }
  TJsonWriter& Value(double number);
  TJsonWriter& Value(bool flag);

  // The document, indented, ending with a newline.
  QByteArray Text() const { return fText + '\n'; }

 private:
  void BeforeValue();
  void Newline();
  TJsonWriter& Close(char bracket);

  QByteArray fText;
  // Per open container: whether it has a member yet.
  std::vector<bool> fHasMember;
  bool fAfterKey = false;
};
