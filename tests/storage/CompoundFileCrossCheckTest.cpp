#include "CompoundFileSupport.h"

#include "storage/CompoundFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList Lines(const QByteArray& out) {
  return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TProcessResult Olefile(const QString& mode, const QString& path) {
  return RunProgram(QStringLiteral("/usr/bin/python3"),
                    {TestScriptDir() + QStringLiteral("/olefile_check.py"), mode, path});
}

class CompoundFileCrossCheck : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fDir.isValid()); }
  QString Write(const TStorage& tree, const QString& name) {
    const QString path = fDir.filePath(name);
    WriteCompoundFile(path, tree);
    return path;
  }
  QTemporaryDir fDir;
};

}  // namespace

TEST_F(CompoundFileCrossCheck, OlefileListsAndReadsWhatWeWrite) {
  for (const auto& tree : {MakeTilesetTree(), MakeMapTree()}) {
    const QString path = Write(*tree, QStringLiteral("t.cfb"));
    const TProcessResult result = Olefile(QStringLiteral("list"), path);
    ASSERT_EQ(result.ExitCode, 0) << result.Err.toStdString();
    EXPECT_EQ(Lines(result.Out), ListTree(*tree));
  }
}

TEST_F(CompoundFileCrossCheck, OlefileReadsOurSummaryInformation) {
  const QString path = Write(*MakeMapTree(), QStringLiteral("map.tqm"));
  const TProcessResult result = Olefile(QStringLiteral("meta"), path);
  ASSERT_EQ(result.ExitCode, 0) << result.Err.toStdString();
  EXPECT_EQ(Lines(result.Out),
            (QStringList{QStringLiteral("title=Cellar"), QStringLiteral("author=Ann"),
                         QStringLiteral("comments=Dark"), QStringLiteral("subject=Battle Map"),
                         QStringLiteral("codepage=1252"), QStringLiteral("docprops=[(1, 1252)]")}));
}
