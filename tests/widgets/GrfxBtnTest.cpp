#include "widgets/GrfxBtn.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

QPixmap Filled(const QColor& colour, QSize size = QSize(16, 16)) {
  QPixmap picture(size);
  picture.fill(colour);
  return picture;
}

void Enter(TGrafxButton& button) {
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(button.mapToGlobal(QPoint(4, 4))));
  QApplication::sendEvent(&button, &enter);
}

void MoveWhileHeld(TGrafxButton& button, QPoint to) {
  QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(button.mapToGlobal(to)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&button, &move);
}

TEST(GrfxBtnTest, PicturesFollowTheStateAndFallBackToNormal) {
  using P = TGrafxPicture;
  struct TRow {
    const char* name;
    bool allPictures;  // otherwise PicNormal only
    bool enabled;
    bool over;
    bool pressed;
    bool toggleDown;
    P expected;
  };
  const std::vector<TRow> rows = {
      {"at rest", true, true, false, false, false, P::Normal},
      {"mouse over", true, true, true, false, false, P::HiLight},
      {"pushed", true, true, true, true, false, P::Pushed},
      {"held, pointer moved off", true, true, false, true, false, P::Normal},
      {"toggled down, mouse away", true, true, false, false, true, P::Pushed},
      {"disabled, even when toggled down", true, false, true, false, true, P::Disabled},
      {"mouse over, no highlight picture", false, true, true, false, false, P::Normal},
      {"pushed, no pushed picture", false, true, true, true, false, P::Normal},
      {"disabled, no disabled picture", false, false, false, false, false, P::Normal},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TGrafxButton button;
    EXPECT_EQ(button.CurrentPicture(), P::None);
    button.SetPicNormal(Filled(Qt::white, QSize(16, 12)));
    EXPECT_EQ(button.size(), QSize(16, 12));
    if (row.allPictures) {
      button.SetPicHiLight(Filled(Qt::yellow));
      button.SetPicPushed(Filled(Qt::darkGray));
      button.SetPicDisabled(Filled(Qt::gray));
    }
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    // The window may open under the pointer.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    if (row.toggleDown) {
      button.SetToggle(true);
      button.SetToggleState(TToggleState::Down);
    }
    if (row.over || row.pressed) Enter(button);
    if (row.pressed) QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(4, 4));
    if (row.pressed && !row.over) MoveWhileHeld(button, QPoint(40, 40));
    button.setEnabled(row.enabled);
    EXPECT_EQ(button.CurrentPicture(), row.expected);
  }
}

TEST(GrfxBtnTest, MagentaIsTransparent) {
  QPixmap picture = Filled(Qt::blue);
  {
    QPainter painter(&picture);
    painter.fillRect(0, 0, 8, 16, QColor(255, 0, 255));
  }
  QWidget parent;
  parent.setAutoFillBackground(true);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, Qt::green);
  parent.setPalette(palette);
  parent.resize(16, 16);
  auto* button = new TGrafxButton(&parent);
  button->SetPicNormal(picture);
  const QImage shot = parent.grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, 8), QColor(Qt::green));
  EXPECT_EQ(shot.pixelColor(12, 8), QColor(Qt::blue));
}

TEST(GrfxBtnTest, ToggleFlipsOnlyWhenReleasedInside) {
  TGrafxButton button;
  button.SetPicNormal(Filled(Qt::white));
  button.SetToggle(true);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  int clicks = 0;
  QObject::connect(&button, &TGrafxButton::Click, [&clicks] { ++clicks; });

  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(button.ToggleState(), TToggleState::Down);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(4, 4));
  MoveWhileHeld(button, QPoint(30, 4));
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 4));
  EXPECT_EQ(button.ToggleState(), TToggleState::Down);
  EXPECT_EQ(clicks, 1);
  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(button.ToggleState(), TToggleState::Up);
  EXPECT_EQ(clicks, 2);
}

TEST(GrfxBtnTest, RepeatFiresAfter400MsThenEvery50WhileHeld) {
  TGrafxButton button;
  button.SetPicNormal(Filled(Qt::white));
  button.SetRepeating(true);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  std::vector<qint64> clicks;
  QElapsedTimer clock;
  QObject::connect(&button, &TGrafxButton::Click, [&] { clicks.push_back(clock.elapsed()); });

  clock.start();
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(button.RepeatTimer()->interval(), 400);
  QTest::qWait(300);
  EXPECT_TRUE(clicks.empty());
  QTRY_COMPARE_WITH_TIMEOUT(clicks.size(), size_t(4), 2000);
  EXPECT_GE(clicks[0], 400);
  EXPECT_EQ(button.RepeatTimer()->interval(), 50);
  // A busy machine can only make the clicks later, never sooner.
  for (size_t i = 1; i < clicks.size(); ++i)
    EXPECT_GE(clicks[i] - clicks[i - 1], 45) << i;

  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(4, 4));
  const size_t released = clicks.size();
  EXPECT_FALSE(button.RepeatTimer()->isActive());
  QTest::qWait(150);
  EXPECT_EQ(clicks.size(), released);
}

}  // namespace
