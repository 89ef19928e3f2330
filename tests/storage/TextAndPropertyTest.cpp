#include "storage/AnsiText.h"
#include "storage/Guid.h"
#include "storage/PropertyStream.h"
#include "storage/Storage.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(AnsiText, EveryByteRoundTripsAndForeignCharactersBecomeQuestionMarks) {
  QByteArray all;
  for (int b = 0; b < 256; ++b)
    all.append(char(b));
  const QString text = FromAnsi(all);
  EXPECT_EQ(text[0x80], QChar(0x20AC));
  EXPECT_EQ(text[0x81], QChar(0x81));
  EXPECT_EQ(text[0x9F], QChar(0x178));
  EXPECT_EQ(text[0xE9], QChar(0xE9));
  EXPECT_EQ(ToAnsi(text), all);
  EXPECT_EQ(ToAnsi(QString::fromUtf8("a\u4e2db\U0001F600c")), QByteArray("a?b?c"));
}

TEST(PropertyStream, ReadsUpToTheFirstNulAndWritesTextPlusOneNul) {
  TStorage root;
  root.CreateStream(QStringLiteral("Empty"), QByteArray(1, '\0'));
  root.CreateStream(QStringLiteral("Zero"), QByteArray());
  root.CreateStream(QStringLiteral("Padded"), QByteArray("12\0\0\0", 5));
  root.CreateStream(QStringLiteral("NoNul"), QByteArray("1.0"));
  EXPECT_EQ(ReadProperty(root, QStringLiteral("Empty")), QString());
  EXPECT_EQ(ReadProperty(root, QStringLiteral("Zero")), QString());
  EXPECT_EQ(ReadProperty(root, QStringLiteral("padded")), QStringLiteral("12"));
  EXPECT_EQ(ReadProperty(root, QStringLiteral("NoNul")), QStringLiteral("1.0"));
  EXPECT_THROW(ReadProperty(root, QStringLiteral("URL")), TStorageError);

  WriteProperty(root, QStringLiteral("MapName"), QStringLiteral("BattleMap"));
  EXPECT_EQ(root.OpenStream(QStringLiteral("MapName")), QByteArray("BattleMap\0", 10));
  WriteProperty(root, QStringLiteral("MAPNAME"), QString());
  EXPECT_EQ(root.OpenStream(QStringLiteral("MapName")), QByteArray(1, '\0'));
}

TEST(Storage, ElementsKeepTheContainerOrderAndCreateReplaces) {
  TStorage root;
  root.CreateStream(QStringLiteral("Version"), "1.0");
  root.CreateStorage(QStringLiteral("Tiles"));
  root.CreateStream(QStringLiteral("URL"), "");
  root.CreateStream(QStringLiteral("abc"), "x");
  root.CreateStorage(QStringLiteral("ABC"));  // replaces the stream "abc"
  QStringList names;
  for (const auto& element : root.Elements())
    names << element.Name;
  EXPECT_EQ(names, (QStringList{QStringLiteral("ABC"), QStringLiteral("URL"),
                                QStringLiteral("Tiles"), QStringLiteral("Version")}));
  EXPECT_EQ(root.FindStream(QStringLiteral("abc")), nullptr);
  EXPECT_NE(root.FindStorage(QStringLiteral("abc")), nullptr);
  EXPECT_THROW(root.OpenStorage(QStringLiteral("Version")), TStorageError);

  for (const QString& bad : {QString(), QString(32, QLatin1Char('x')), QStringLiteral("a/b"),
                             QStringLiteral("a\\b"), QStringLiteral("a:b"), QStringLiteral("a!")})
    EXPECT_THROW(root.CreateStream(bad), TStorageError);
  EXPECT_NO_THROW(root.CreateStream(QString(31, QLatin1Char('x'))));
}

TEST(Guid, BytesAndTextConvertBothWays) {
  const char bytes[16] = {'\xD4', '\x80', '\xFA', '\x33', '\x33', '\x99', '\x6A', '\x47',
                          '\x8B', '\x8C', '\x4F', '\xC1', '\xED', '\xE1', '\x6F', '\xD7'};
  const QString text = QStringLiteral("{33FA80D4-9933-476A-8B8C-4FC1EDE16FD7}");
  EXPECT_EQ(GuidBytesToText(bytes), text);
  EXPECT_EQ(GuidTextToBytes(text), QByteArray(bytes, 16));
  EXPECT_EQ(GuidTextToBytes(text.toLower()), QByteArray(bytes, 16));

  for (const char* bad :
       {"", "33FA80D4-9933-476A-8B8C-4FC1EDE16FD7", "{33FA80D4-9933-476A-8B8C-4FC1EDE16FDG}",
        "{33FA80D4+9933-476A-8B8C-4FC1EDE16FD7}"})
    EXPECT_THROW(GuidTextToBytes(QString::fromLatin1(bad)), TError) << bad;

  const QString fresh = NewGuidText();
  EXPECT_TRUE(IsGuidText(fresh));
  EXPECT_EQ(fresh, fresh.toUpper());
  EXPECT_NE(fresh, NewGuidText());
  EXPECT_EQ(NameGuidText(QStringLiteral("Walls/Standard/0.0/1")),
            NameGuidText(QStringLiteral("Walls/Standard/0.0/1")));
  EXPECT_NE(NameGuidText(QStringLiteral("a")), NameGuidText(QStringLiteral("b")));
}
