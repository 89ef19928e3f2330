// The window's building blocks that need no window: the error guard, the
// file filter conversion and the action table's consistency.
#include "WindowTestSupport.h"
#include "app/Application.h"
#include "app/FileDialogs.h"
#include "app/MainActions.h"
#include "base/Error.h"
#include "support/ScriptedMessages.h"
#include "widgets/ButtonArt.h"

#include <QKeySequence>
#include <QSet>

#include <gtest/gtest.h>

#include <stdexcept>

TEST(Guarded, ShowsWhatAHandlerRaisesAndPassesArgumentsOn) {
  int received = 0;
  Guarded([&](int value) { received = value; })(7);
  EXPECT_EQ(received, 7);
  // A handler without parameters ignores what the signal passes.
  Guarded([&] { received = 8; })(true);
  EXPECT_EQ(received, 8);
  EXPECT_TRUE(ScriptedMessages().Shown.empty());

  const struct {
    std::function<void()> Raise;
    const char* Text;
  } cases[] = {
      {[] { throw TError(QStringLiteral("Unable to open the file")); }, "Unable to open the file."},
      {[] { throw TError(QStringLiteral("Stopped!")); }, "Stopped!"},
      {[] { throw std::runtime_error("bad allocation"); }, "bad allocation."},
      {[] { throw 42; }, "An unexpected error occurred."},
  };
  for (const auto& c : cases) {
    ScriptedMessages().Shown.clear();
    Guarded(c.Raise)();
    ASSERT_EQ(ScriptedMessages().Shown.size(), 1u);
    const TMessage& box = ScriptedMessages().Shown[0];
    EXPECT_EQ(box.Text, c.Text);
    EXPECT_EQ(box.Caption, "Tessellan");
    EXPECT_EQ(box.Icon, TMsgIcon::Error);
    EXPECT_EQ(box.Buttons, mbOK);
  }
}

TEST(QtFileFilter, TurnsPairsIntoTheToolkitsFilterList) {
  const struct {
    const char* Filter;
    const char* Expected;
  } cases[] = {
      {"Tessellan Map (*.tqm)|*.tqm|All Files (*.*)|*.*", "Tessellan Map (*.tqm);;All Files (*.*)"},
      {"Bitmap Graphic (*.bmp)|*.bmp", "Bitmap Graphic (*.bmp)"},
      {"Maps|*.tqm;*.tql", "Maps (*.tqm *.tql)"},
      {"JPEG Picture (*.jpg;*.jpeg)|*.jpg;*.jpeg", "JPEG Picture (*.jpg *.jpeg)"},
      {"Dangling description", ""},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(QtFileFilter(c.Filter), c.Expected) << c.Filter;
}

TEST(MainActionTable, NamesShortcutsAndPicturesAreConsistent) {
  QSet<QString> names;
  QSet<QKeySequence> keys;
  for (const TActionEntry& entry : MainActionTable()) {
    const char* name = ActionName(entry.Id);
    SCOPED_TRACE(name);
    EXPECT_FALSE(names.contains(name));
    names.insert(name);
    // Two actions sharing a key would leave the key doing nothing.
    for (const QString& key : QString(entry.Shortcuts).split(' ', Qt::SkipEmptyParts)) {
      const QKeySequence sequence =
          key.size() == 1 ? QKeySequence(key.at(0).toUpper().unicode()) : QKeySequence(key);
      EXPECT_FALSE(sequence.isEmpty()) << key.toStdString();
      EXPECT_FALSE(keys.contains(sequence)) << key.toStdString();
      keys.insert(sequence);
    }
    // How each picture is drawn is checked with the shared image lists.
    if (entry.Image) {
      EXPECT_TRUE(HasButtonArt(entry.Image));
    }
  }
  // Every identifier has its row.
  EXPECT_EQ(names.size(), qsizetype(TActionId::Count));
  for (const char* const* layout : {kFileMenu, kEditMenu, kMapMenu, kTileMenu, kHelpMenu,
                                    kMainToolBar, kMapToolBar, kGridContextMenu, kEraseMenu}) {
    for (const char* const* name = layout; *name; ++name) {
      EXPECT_TRUE(QString(*name) == "-" || names.contains(*name)) << *name;
    }
  }
}
