#include "CompoundFileSupport.h"

#include "storage/PropertySet.h"
#include "storage/PropertyStream.h"

#include <QCryptographicHash>
#include <QProcess>

#include <gtest/gtest.h>

QByteArray PatternBytes(int size, int seed) {
  QByteArray bytes(size, Qt::Uninitialized);
  quint32 state = 2166136261u ^ quint32(seed) * 16777619u;
  for (int i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = char(state >> 23);
  }
  return bytes;
}

const QList<int>& BoundarySizes() {
  static const QList<int> sizes{0, 1, 63, 64, 4095, 4096, 4097, 20000, 100000};
  return sizes;
}

std::unique_ptr<TStorage> MakeTilesetTree() {
  auto root = std::make_unique<TStorage>(QStringLiteral("Root Entry"));
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, QStringLiteral("Example")}}));
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("TilesetName"), QStringLiteral("Example Tileset"));
  WriteProperty(*root, QStringLiteral("URL"), QString());
  int seed = 0;
  for (int g = 0; g < 12; ++g) {
    TStorage& group = root->CreateStorage(QStringLiteral("Group %1").arg(g));
    WriteProperty(group, QStringLiteral("PatWidth"), QString::number(g + 1));
    WriteProperty(group, QStringLiteral("PlaceType"), QString::number(g % 3));
    TStorage& tiles = group.CreateStorage(QStringLiteral("Tiles"));
    for (int t = 0; t < 3; ++t) {
      const int size = BoundarySizes()[(g * 3 + t) % BoundarySizes().size()];
      tiles.CreateStream(QStringLiteral("%1.%2").arg(t % 2).arg(t / 2 + g),
                         PatternBytes(size, ++seed));
    }
  }
  root->CreateStorage(QStringLiteral("Empty"));
  return root;
}

std::unique_ptr<TStorage> MakeMapTree() {
  auto root = std::make_unique<TStorage>(QStringLiteral("Root Entry"));
  root->CreateStream(DocumentSummaryInformationName(), BuildDocumentSummaryInformation());
  root->CreateStream(SummaryInformationName(),
                     BuildSummaryInformation({{pidTitle, QStringLiteral("Cellar")},
                                              {pidAuthor, QStringLiteral("Ann")},
                                              {pidComments, QStringLiteral("Dark")},
                                              {pidSubject, QStringLiteral("Battle Map")}}));
  WriteProperty(*root, QStringLiteral("Version"), QStringLiteral("1.0"));
  WriteProperty(*root, QStringLiteral("MapName"), QStringLiteral("Cellar"));
  WriteProperty(*root, QStringLiteral("MapWidth"), QStringLiteral("20"));
  WriteProperty(*root, QStringLiteral("MapHeight"), QStringLiteral("16"));
  TStorage& tiles = root->CreateStorage(QStringLiteral("Tiles"));
  for (int i = 0; i < 6; ++i)
    tiles.CreateStream(QString::number(i), PatternBytes(300 + 170 * i, 100 + i));
  root->CreateStream(QStringLiteral("LayerBase"), PatternBytes(1500, 200));
  root->CreateStream(QStringLiteral("LayerWall"), PatternBytes(5000, 201));
  return root;
}

void ExpectSameTree(const TStorage& expected, const TStorage& actual) {
  ASSERT_EQ(expected.ElementCount(), actual.ElementCount())
      << "in " << expected.Name().toStdString();
  for (int i = 0; i < expected.ElementCount(); ++i) {
    SCOPED_TRACE(expected.NameAt(i).toStdString());
    ASSERT_EQ(expected.NameAt(i), actual.NameAt(i));
    ASSERT_EQ(expected.TypeAt(i), actual.TypeAt(i));
    if (expected.TypeAt(i) == TElementType::Storage)
      ExpectSameTree(expected.StorageAt(i), actual.StorageAt(i));
    else
      EXPECT_EQ(expected.StreamAt(i), actual.StreamAt(i));
  }
}

namespace {

void ListInto(const TStorage& storage, const QString& prefix, QStringList& lines) {
  for (int i = 0; i < storage.ElementCount(); ++i) {
    const QString path = prefix + storage.NameAt(i);
    if (storage.TypeAt(i) == TElementType::Storage) {
      lines << QStringLiteral("D ") + path;
      ListInto(storage.StorageAt(i), path + QLatin1Char('/'), lines);
    } else {
      const QByteArray& data = storage.StreamAt(i);
      lines << QStringLiteral("F %1 %2 %3")
                   .arg(path)
                   .arg(data.size())
                   .arg(QString::fromLatin1(
                       QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex()));
    }
  }
}

}  // namespace

QStringList ListTree(const TStorage& root) {
  QStringList lines;
  ListInto(root, QString(), lines);
  lines.sort();
  return lines;
}

TProcessResult RunProgram(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  TProcessResult result;
  if (!process.waitForStarted(10000)) return result;
  process.closeWriteChannel();
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return result;
  }
  result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.Out = process.readAllStandardOutput();
  result.Err = process.readAllStandardError();
  return result;
}

QString TestScriptDir() {
  return QStringLiteral(TESSELLAN_SOURCE_DIR "/tests/storage");
}
