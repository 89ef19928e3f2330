#include "widgets/CleanPanel.h"

#include <QFrame>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(CleanPanelTest, ClientSitsBelowTheCaptionStripAndTheCaptionRepaints) {
  TCleanPanel panel(QStringLiteral("Palette"));
  panel.resize(160, 120);
  // A plain panel: the same 2-pixel frame and border, no caption strip.
  QFrame plain;
  plain.setFrameStyle(QFrame::Box | QFrame::Plain);
  plain.setLineWidth(TCleanPanel::kBevelWidth);
  auto* layout = new QVBoxLayout(&plain);
  layout->setContentsMargins(panel.BorderWidth(), panel.BorderWidth(), panel.BorderWidth(),
                             panel.BorderWidth());
  auto* plainClient = new QWidget(&plain);
  layout->addWidget(plainClient);
  plain.resize(panel.size());
  panel.show();
  plain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));

  const QRect client = panel.Client()->geometry();
  const QRect plainArea = plainClient->geometry();
  EXPECT_EQ(client.top(), plainArea.top() + TCleanPanel::kCaptionHeight);
  EXPECT_EQ(client.left(), plainArea.left());
  EXPECT_EQ(client.right(), plainArea.right());
  EXPECT_EQ(client.bottom(), plainArea.bottom());

  // The strip and the bevel are in the caption colour; a new caption shows.
  const QImage before = panel.grab().toImage();
  const QColor strip = panel.CaptionColor();
  EXPECT_EQ(before.pixelColor(2, 2), strip);
  EXPECT_EQ(before.pixelColor(0, 60), strip);
  EXPECT_EQ(before.pixelColor(159, 119), strip);
  panel.SetCaption(QStringLiteral("Tile Preview"));
  EXPECT_NE(panel.grab().toImage(), before);
}

}  // namespace
