#include "map/UndoRedoU.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An action that logs what happens to it: "u3" undo of action 3, "r3" redo,
// "~3" freed.
class TLoggingAction : public TUndoObj {
 public:
  TLoggingAction(int id, std::string& log) : fId(id), fLog(log) {}
  ~TLoggingAction() override { fLog += "~" + std::to_string(fId) + " "; }
  void Undo() override { fLog += "u" + std::to_string(fId) + " "; }
  void Redo() override { fLog += "r" + std::to_string(fId) + " "; }
  int Id() const { return fId; }

 private:
  int fId;
  std::string& fLog;
};

struct UndoRedoList : testing::Test {
  void AddActions(int first, int last) {
    for (int id = first; id <= last; ++id)
      list.Add(std::make_unique<TLoggingAction>(id, log));
  }
  int IdAt(int index) const { return static_cast<TLoggingAction*>(list.Items(index))->Id(); }

  std::string log;
  TUndoRedoList list;
};

}  // namespace

TEST_F(UndoRedoList, ANewListCanDoNothing) {
  EXPECT_FALSE(list.CanUndo());
  EXPECT_FALSE(list.CanRedo());
  EXPECT_EQ(list.Position(), -1);
  EXPECT_EQ(list.MaxUndo(), 50);
  list.Undo();
  list.Redo();
  EXPECT_EQ(list.Position(), -1);
}

TEST_F(UndoRedoList, AddingAfterUndoFreesTheUndoneActions) {
  AddActions(0, 2);
  list.Undo();
  list.Undo();
  EXPECT_EQ(log, "u2 u1 ");
  EXPECT_EQ(list.Position(), 0);
  EXPECT_TRUE(list.CanRedo());
  list.Redo();
  EXPECT_EQ(list.Position(), 1);
  list.Undo();

  log.clear();
  AddActions(3, 3);
  EXPECT_EQ(log, "~1 ~2 ");
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Position(), 1);
  EXPECT_FALSE(list.CanRedo());
  EXPECT_EQ(IdAt(1), 3);
}

TEST_F(UndoRedoList, AddKeepsAtMostMaxUndoActionsDroppingTheOldest) {
  list.SetMaxUndo(3);
  AddActions(0, 4);
  EXPECT_EQ(log, "~0 ~1 ");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Position(), 2);
  EXPECT_EQ(IdAt(0), 2);
  log.clear();
  while (list.CanUndo())
    list.Undo();
  EXPECT_EQ(log, "u4 u3 u2 ");
}

TEST_F(UndoRedoList, LoweringMaxUndoKeepsTheNewestDoneActions) {
  list.SetMaxUndo(100);
  AddActions(0, 59);
  log.clear();
  list.SetMaxUndo(50);
  EXPECT_EQ(list.Count(), 50);
  EXPECT_EQ(list.Position(), 49);
  EXPECT_EQ(list.MaxUndo(), 50);
  EXPECT_EQ(IdAt(0), 10);
  EXPECT_EQ(IdAt(49), 59);
  EXPECT_EQ(log.substr(0, 8), "~0 ~1 ~2");

  // Undone actions are dropped before done ones.
  for (int i = 0; i < 45; ++i)
    list.Undo();
  EXPECT_EQ(list.Position(), 4);
  log.clear();
  list.SetMaxUndo(8);
  EXPECT_EQ(list.Count(), 8);
  EXPECT_EQ(list.Position(), 4);
  EXPECT_EQ(IdAt(0), 10);
  EXPECT_EQ(IdAt(7), 17);
  list.SetMaxUndo(3);
  EXPECT_EQ(list.Position(), 2);
  EXPECT_EQ(IdAt(0), 12);
  EXPECT_EQ(IdAt(2), 14);
}

TEST_F(UndoRedoList, MaxUndoZeroFreesEverything) {
  AddActions(0, 4);
  list.SetMaxUndo(0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Position(), -1);
  AddActions(5, 5);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.CanUndo());
  list.SetMaxUndo(-4);
  EXPECT_EQ(list.MaxUndo(), 0);
}

TEST_F(UndoRedoList, TruncateAndClearFreeInIndexOrder) {
  AddActions(0, 4);
  list.TruncateAfter(1);
  EXPECT_EQ(log, "~2 ~3 ~4 ");
  EXPECT_EQ(list.Position(), 1);
  list.TruncateAfter(7);
  EXPECT_EQ(list.Count(), 2);
  log.clear();
  list.Clear();
  EXPECT_EQ(log, "~0 ~1 ");
  EXPECT_EQ(list.Position(), -1);
}
