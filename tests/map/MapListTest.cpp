#include "base/Error.h"
#include "map/MapList.h"
#include "map/TileMapObjects.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

}  // namespace

TEST(MapList, NewRemoveDeleteAndClearKeepTabOrder) {
  TMapList list;
  TTileMap* a = list.NewMap();
  TTileMap* b = list.NewMap();
  TTileMap* c = list.NewMap();
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Maps(1), b);
  EXPECT_EQ(list.IndexOf(c), 2);

  TTileMap stranger;
  list.RemoveMap(&stranger);
  list.RemoveMap(nullptr);
  EXPECT_EQ(list.Count(), 3);

  list.RemoveMap(b);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(b), -1);
  EXPECT_EQ(list.Maps(1), c);
  list.Delete(0);
  EXPECT_EQ(list.Maps(0), c);
  EXPECT_EQ(list.IndexOf(a), -1);
  EXPECT_ANY_THROW(list.Delete(1));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(MapList, FailuresLeaveTheListAsItWas) {
  TMapList list;
  TTileMap* first = list.NewMap();
  const QString missing = QDir::tempPath() + QStringLiteral("/no such map.tqm");
  try {
    list.OpenMap(missing);
    FAIL() << "opening a missing file succeeded";
  } catch (const TError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("The file ") + missing +
                               QStringLiteral(" could not be found or does not exist."));
  }
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Maps(0), first);
}

TEST(MapList, NewNamesTakeTheFirstFreeNumber) {
  TMapList list;
  EXPECT_EQ(list.NewMapName(), QStringLiteral("BattleMap1"));
  list.NewMap()->SetMapName(QStringLiteral("BattleMap1"));
  list.NewMap()->SetMapName(QStringLiteral("BattleMap3"));
  list.NewMap()->SetMapName(QStringLiteral("battlemap2"));  // names compare case-sensitively
  EXPECT_EQ(list.NewMapName(), QStringLiteral("BattleMap2"));
  list.NewMap()->SetMapName(list.NewMapName());
  EXPECT_EQ(list.NewMapName(), QStringLiteral("BattleMap4"));
  EXPECT_EQ(list.NewMapName(QStringLiteral("Crypt")), QStringLiteral("Crypt1"));
}

TEST(MapList, AsciiCaseRuleFoldsOnlyTheLettersAToZ) {
  struct {
    const char* A;
    const char* B;
    bool Same;
  } cases[] = {
      {"C:\\Maps\\Crypt.tqm", "c:\\maps\\CRYPT.TQM", true},
      {"C:\\Maps\\Crypt.tqm", "C:\\Maps\\Crypt.tqm ", false},
      {"C:\\Maps\\\xc3\xa9t\xc3\xa9.tqm", "C:\\MAPS\\\xc3\x89T\xc3\x89.TQM", false},
      {"C:\\Maps\\\xc3\xa9t\xc3\xa9.tqm", "C:\\MAPS\\\xc3\xa9T\xc3\xa9.TQM", true},
      {"", "", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SameFileIgnoringAsciiCase(QString::fromUtf8(c.A), QString::fromUtf8(c.B)), c.Same)
        << c.A << " / " << c.B;
}

TEST(MapList, CanonicalRuleComparesResolvedPaths) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString root = dir.path();
  ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("sub")));
  Touch(root + QStringLiteral("/Crypt.tqm"));
  Touch(root + QStringLiteral("/crypt.tqm"));
  ASSERT_TRUE(QFile::link(root + QStringLiteral("/Crypt.tqm"), root + QStringLiteral("/link.tqm")));

  const QString crypt = root + QStringLiteral("/Crypt.tqm");
  EXPECT_TRUE(SameFileCanonical(crypt, root + QStringLiteral("/sub/../Crypt.tqm")));
  EXPECT_TRUE(SameFileCanonical(crypt, root + QStringLiteral("/link.tqm")));
  EXPECT_FALSE(SameFileCanonical(crypt, root + QStringLiteral("/crypt.tqm")));
  // Files that do not exist yet compare by their cleaned absolute path.
  EXPECT_TRUE(SameFileCanonical(root + QStringLiteral("/new.tqm"),
                                root + QStringLiteral("/sub/./../new.tqm")));
  EXPECT_FALSE(SameFileCanonical(QString(), QString()));

  // The list's lookup finds the first map of that file and skips unsaved ones.
  TMapList list;
  list.NewMap();
  TTileMap* saved = list.NewMap();
  saved->SetFileName(crypt);
  list.NewMap()->SetFileName(crypt);
  EXPECT_EQ(list.FindMapByFile(root + QStringLiteral("/link.tqm")), saved);
  EXPECT_EQ(list.FindMapByFile(QString()), nullptr);
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  EXPECT_EQ(list.FindMapByFile(root + QStringLiteral("/CRYPT.tqm")), saved);
#else
  EXPECT_EQ(list.FindMapByFile(root + QStringLiteral("/crypt.tqm")), nullptr);
#endif
}
