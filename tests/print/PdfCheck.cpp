#include "PdfCheck.h"

#include "support/RunProgram.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Painted: darker than half-way in green (red and blue have none).
bool Painted(QRgb pixel) {
  return qGreen(pixel) < 128;
}

TSquareRun Measure(int length, const std::function<QRgb(int)>& pixelAt) {
  TSquareRun run;
  bool previousRed = false;
  for (int i = 0; i < length; ++i) {
    const QRgb pixel = pixelAt(i);
    if (!Painted(pixel)) {
      if (run.Start >= 0) break;
      continue;
    }
    const bool red = qRed(pixel) > qBlue(pixel);
    if (run.Start < 0) {
      run.Start = i;
      run.Squares = 1;
    } else if (red != previousRed) {
      ++run.Squares;
    }
    previousRed = red;
    run.End = i + 1;
  }
  return run;
}

}  // namespace

TPdfInfo ReadPdfInfo(const QString& pdf) {
  const TProgramRun run = RunProgram(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
  TPdfInfo info;
  const QString text = QString::fromUtf8(run.Out);
  const QRegularExpressionMatch pages =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(text);
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(text);
  EXPECT_TRUE(pages.hasMatch() && size.hasMatch()) << run.Out.constData();
  info.Pages = pages.captured(1).toInt();
  info.PageSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
  return info;
}

QStringList PdfPageTexts(const QString& pdf) {
  const TProgramRun run = RunProgram(QStringLiteral("pdftotext"),
                                     {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
  QStringList pages = QString::fromUtf8(run.Out).split(QLatin1Char('\f'));
  // A form feed ends every page, the last one too.
  if (!pages.isEmpty() && pages.last().isEmpty()) pages.removeLast();
  return pages;
}

QImage RasterisePage(const QString& pdf, int page, int resolution, const QRect& crop) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  QStringList arguments = {QStringLiteral("-r"),         QString::number(resolution),
                           QStringLiteral("-f"),         QString::number(page),
                           QStringLiteral("-l"),         QString::number(page),
                           QStringLiteral("-singlefile")};
  if (!crop.isNull())
    arguments << QStringLiteral("-x") << QString::number(crop.x()) << QStringLiteral("-y")
              << QString::number(crop.y()) << QStringLiteral("-W") << QString::number(crop.width())
              << QStringLiteral("-H") << QString::number(crop.height());
  arguments << pdf << prefix;
  const TProgramRun run = RunProgram(QStringLiteral("pdftoppm"), arguments);
  EXPECT_EQ(run.ExitCode, 0) << run.Err.constData();
  QImage image(prefix + QStringLiteral(".ppm"));
  EXPECT_FALSE(image.isNull());
  return image;
}

TSquareRun MeasureRow(const QImage& image, int y) {
  return Measure(image.width(), [&](int x) { return image.pixel(x, y); });
}

TSquareRun MeasureColumn(const QImage& image, int x) {
  return Measure(image.height(), [&](int y) { return image.pixel(x, y); });
}
