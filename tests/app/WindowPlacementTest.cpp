// Saving and restoring a window's place: the stored values, the round trip
// through normal and maximised windows, a missing key, and placements that
// are not on a screen or do not fit it.
#include "app/WindowPlacement.h"
#include "app/settings/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QWidget> MainWindow() {
  auto window = std::make_unique<QWidget>();
  window->setObjectName(QStringLiteral("frmMain"));
  return window;
}

int Stored(const char* name) {
  return OpenSettingsStore()
      ->value(QStringLiteral("1.00.000/Main/frmMain/") + QLatin1String(name), -1)
      .toInt();
}

void Store(int left, int top, int right, int bottom, int state) {
  auto store = OpenSettingsStore();
  store->beginGroup(QStringLiteral("1.00.000/Main/frmMain"));
  store->setValue(QStringLiteral("XPos"), left);
  store->setValue(QStringLiteral("YPos"), top);
  store->setValue(QStringLiteral("Width"), right);
  store->setValue(QStringLiteral("Height"), bottom);
  store->setValue(QStringLiteral("State"), state);
}

}  // namespace

TEST(WindowPlacement, ANormalAndAMaximisedWindowComeBackWhereTheyWere) {
  auto window = MainWindow();
  EXPECT_FALSE(RestoreWindowPlacement(window.get(), kMainPlacementKey));  // nothing saved yet
  window->setGeometry(40, 30, 300, 200);
  window->show();
  ASSERT_TRUE(SaveWindowPlacement(window.get(), kMainPlacementKey));
  // Width and Height hold the right and bottom edges, not the size.
  EXPECT_EQ(Stored("XPos"), 40);
  EXPECT_EQ(Stored("YPos"), 30);
  EXPECT_EQ(Stored("Width"), 340);
  EXPECT_EQ(Stored("Height"), 230);
  EXPECT_EQ(Stored("State"), 1);
  // A key given with its trailing separator names the same group.
  EXPECT_EQ(PlacementGroup(kMainPlacementKey + QLatin1Char('\\'), window.get()),
            QStringLiteral("1.00.000/Main/frmMain"));

  auto again = MainWindow();
  again->setGeometry(0, 0, 120, 100);
  ASSERT_TRUE(RestoreWindowPlacement(again.get(), kMainPlacementKey));
  EXPECT_EQ(again->geometry(), QRect(40, 30, 300, 200));
  EXPECT_FALSE(again->isMaximized());

  // Maximised: the normal geometry is kept for when the user restores it.
  window->showMaximized();
  ASSERT_TRUE(window->isMaximized());
  ASSERT_TRUE(SaveWindowPlacement(window.get(), kMainPlacementKey));
  EXPECT_EQ(Stored("State"), 3);
  EXPECT_EQ(Stored("Width"), 340);

  auto maximised = MainWindow();
  ASSERT_TRUE(RestoreWindowPlacement(maximised.get(), kMainPlacementKey));
  maximised->show();
  EXPECT_TRUE(maximised->isMaximized());
  maximised->showNormal();
  EXPECT_EQ(maximised->geometry(), QRect(40, 30, 300, 200));
}

TEST(WindowPlacement, APlacementOffTheScreensOrLargerThanThemLeavesTheDefault) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const int right = screen.right() + 1;
  const int bottom = screen.bottom() + 1;
  const struct {
    int Left, Top, Right, Bottom;
    bool Used;
  } cases[] = {
      {40, 30, 340, 230, true},
      // Partly off the screen, still within reach.
      {right - 50, 10, right + 350, 310, true},
      {screen.left(), screen.top(), right, bottom, true},
      // Gone with a screen that is no longer there.
      {right + 5000, 100, right + 5400, 400, false},
      {-100000, -100000, -99600, -99700, false},
      // Larger than the screen: a damaged or hostile settings file.
      {-100000, -100000, 100000000, 100000000, false},
      {screen.left(), screen.top(), right + 1, bottom, false},
      {0, 0, 300, bottom + 1, false},
      // Edges whose distance is beyond 32 bits.
      {-2000000000, 0, 2000000000, 300, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Left << "," << c.Top << "," << c.Right << "," << c.Bottom);
    Store(c.Left, c.Top, c.Right, c.Bottom, 3);
    auto window = MainWindow();
    window->setGeometry(20, 20, 200, 150);
    EXPECT_EQ(RestoreWindowPlacement(window.get(), kMainPlacementKey), c.Used);
    const QRect expected =
        c.Used ? QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top) : QRect(20, 20, 200, 150);
    EXPECT_EQ(window->normalGeometry(), expected);
    EXPECT_EQ(window->windowState() == Qt::WindowMaximized, c.Used);
  }
}
