#include "widgets/ColorStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <vector>

namespace {

// A panel's rectangle as left and right edge (exclusive), or {0, 0} for a
// panel the layout leaves out.
using TSpan = std::pair<int, int>;

std::vector<TSpan> Spans(const TColorStatusBar& bar) {
  std::vector<TSpan> spans;
  for (int i = 0; i < bar.PanelCount(); ++i) {
    const TColorStatusPanel* panel = bar.Panel(i);
    if (!panel->Visible()) {
      spans.push_back({0, 0});
      continue;
    }
    EXPECT_EQ(panel->Rect().top(), 2);
    EXPECT_EQ(panel->Rect().bottom(), bar.height() - 1);
    spans.push_back({panel->Rect().left(), panel->Rect().right() + 1});
  }
  return spans;
}

// The main window's three panels: 24, 200 and 50 pixels.
void AddMainPanels(TColorStatusBar& bar) {
  bar.AddPanels({24, 200, 50});
}

TEST(ColorStatusBarTest, LayoutGivesTheSpareWidthToTheLastSpringOrTheLastPanel) {
  TColorStatusBar probe;
  const int grip = probe.GripWidth();
  const QFontMetrics metrics(probe.TextFont());
  struct TRow {
    const char* name;
    int barWidth;
    int spring;  // panel with Spring, -1 for none
    int hidden;  // invisible panel, -1 for none
    bool fit;    // panel 1 fits its text
    std::vector<TSpan> expected;
  };
  TColorStatusBar fitProbe;
  fitProbe.AddPanel()->SetText(QStringLiteral("Grid 10 x 10"));
  const int fitWidth = fitProbe.Panel(0)->ContentWidth(metrics);
  const int spare = 600 - (274 + grip);
  const int spareWithoutMiddle = 600 - (74 + grip);
  const std::vector<TRow> rows = {
      {"no spring: the last panel takes the rest",
       600,
       -1,
       -1,
       false,
       {{0, 22}, {24, 222}, {224, 600}}},
      {"spring in the middle", 600, 1, -1, false, {{0, 22}, {24, 222 + spare}, {224 + spare, 600}}},
      {"two springs, the later hidden: the earlier one",
       600,
       0,
       1,
       false,
       {{0, 22 + spareWithoutMiddle}, {0, 0}, {24 + spareWithoutMiddle, 600}}},
      {"invisible middle panel adds nothing", 600, -1, 1, false, {{0, 22}, {0, 0}, {24, 600}}},
      {"invisible last panel: no grip room, spare to it",
       600,
       -1,
       2,
       false,
       {{0, 22}, {24, 222}, {0, 0}}},
      {"too narrow: nothing to spare", 200, 1, -1, false, {{0, 22}, {24, 222}, {224, 274 + grip}}},
      {"fit to content",
       600,
       1,
       -1,
       true,
       {{0, 22},
        {24, 24 + fitWidth - 2 + (600 - (74 + fitWidth + grip))},
        {24 + fitWidth + (600 - (74 + fitWidth + grip)), 600}}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TColorStatusBar bar;
    AddMainPanels(bar);
    bar.resize(row.barWidth, bar.height());
    if (row.spring >= 0) bar.Panel(row.spring)->SetSpring(true);
    // The row with a spring on panel 0 marks panel 1 as well.
    if (row.spring == 0) bar.Panel(1)->SetSpring(true);
    if (row.hidden >= 0) bar.Panel(row.hidden)->SetVisible(false);
    if (row.fit) {
      bar.Panel(1)->SetText(QStringLiteral("Grid 10 x 10"));
      bar.Panel(1)->SetFitToContent(true);
    }
    bar.UpdatePanelRects();
    EXPECT_EQ(Spans(bar), row.expected);
  }
}

TEST(ColorStatusBarTest, ClicksAndHintsReachThePanelUnderTheMouse) {
  TColorStatusBar bar;
  AddMainPanels(bar);
  bar.SetSizeGrip(false);
  bar.resize(600, bar.height());
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  QStringList events;
  for (int i = 0; i < bar.PanelCount(); ++i) {
    TColorStatusPanel* panel = bar.Panel(i);
    panel->SetHint(QStringLiteral("hint %1").arg(i));
    QObject::connect(panel, &TColorStatusPanel::Click,
                     [&events, i] { events.push_back(QStringLiteral("click %1").arg(i)); });
    QObject::connect(panel, &TColorStatusPanel::DblClick,
                     [&events, i] { events.push_back(QStringLiteral("double %1").arg(i)); });
    QObject::connect(panel, &TColorStatusPanel::HintShow,
                     [&events, i] { events.push_back(QStringLiteral("hint %1").arg(i)); });
  }
  QObject::connect(&bar, &TColorStatusBar::Click, [&events] { events.push_back("bar click"); });
  const int y = bar.height() / 2;

  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(10, y));
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(23, y));  // the gap after panel 0
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(300, y));
  QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(100, y),
                          QPointF(bar.mapToGlobal(QPoint(100, y))), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
  QApplication::sendEvent(&bar, &doubleClick);
  QHelpEvent help(QEvent::ToolTip, QPoint(100, y), bar.mapToGlobal(QPoint(100, y)));
  QApplication::sendEvent(&bar, &help);
  EXPECT_EQ(QToolTip::text(), QStringLiteral("hint 1"));
  bar.SetSimplePanel(true);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(100, y));

  const QStringList expected = {"click 0", "click 2", "double 1", "hint 1", "bar click"};
  EXPECT_EQ(events, expected);
}

TEST(ColorStatusBarTest, SimpleModeShowsOnlyItsTextAndStatusTipsNeverHideThePanels) {
  QMainWindow window;
  auto* bar = new TColorStatusBar;
  window.setStatusBar(bar);
  AddMainPanels(*bar);
  bar->SetPanelText(1, QStringLiteral("Grid 20 x 30"));
  bar->SetPanelText(2, QStringLiteral("Stone floors"));
  bar->SetSimpleText(QStringLiteral("Loading tileset..."));
  window.resize(500, 300);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(bar->height(), qRound(19 * bar->logicalDpiY() / 96.0));

  const QImage panels = bar->grab().toImage();
  // Hovering a menu item or a toolbar button sends the window its status tip.
  QAction action(QStringLiteral("Zoom In"));
  action.setStatusTip(QStringLiteral("Zoom In"));
  action.showStatusText(&window);
  QStatusTipEvent tip(QStringLiteral("Open a map"));
  QApplication::sendEvent(bar, &tip);
  EXPECT_EQ(bar->grab().toImage(), panels);

  bar->SetSimplePanel(true);
  const QImage simple = bar->grab().toImage();
  EXPECT_NE(simple, panels);
  TColorStatusBar bare;
  bare.SetSimpleText(bar->SimpleText());
  bare.SetSimplePanel(true);
  bare.SetSizeGrip(false);
  bar->SetSizeGrip(false);
  bare.resize(bar->size());
  EXPECT_EQ(bare.grab().toImage(), bar->grab().toImage());
}

TEST(ColorStatusBarTest, GripSizesTheWindowAndDisappearsWhenMaximised) {
  QMainWindow window;
  auto* bar = new TColorStatusBar;
  window.setStatusBar(bar);
  AddMainPanels(*bar);
  window.resize(400, 300);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QRect grip = bar->GripRect();
  ASSERT_FALSE(grip.isEmpty());
  EXPECT_EQ(grip.bottomRight(), bar->rect().bottomRight());

  const QPoint start = grip.center();
  QTest::mousePress(bar, Qt::LeftButton, {}, start);
  const QPoint end = start + QPoint(30, 20);
  QMouseEvent move(QEvent::MouseMove, end, bar->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(bar, &move);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, end);
  // The offscreen platform cannot size a window itself: the bar does it.
  EXPECT_EQ(window.size(), QSize(430, 320));

  window.showMaximized();
  QTest::qWait(20);
  if (window.isMaximized()) {
    EXPECT_TRUE(bar->GripRect().isEmpty());
  }
}

}  // namespace
