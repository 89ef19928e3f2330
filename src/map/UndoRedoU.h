#pragma once

#include <memory>
#include <vector>

// One undoable action. Undo and Redo replay it backwards and forwards.
class TUndoObj {
 public:
  virtual ~TUndoObj() = default;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
};

// A linear undo history of owned actions, oldest first. Position is the index
// of the last action that is done (-1: nothing to undo); the actions after it
// were undone and can be redone until a new action is added. The list never
// holds more than MaxUndo actions.
class TUndoRedoList {
 public:
  static constexpr int kDefaultMaxUndo = 50;

  TUndoRedoList();
  ~TUndoRedoList();
  TUndoRedoList(const TUndoRedoList&) = delete;
  TUndoRedoList& operator=(const TUndoRedoList&) = delete;

  // Frees every action; Position becomes -1.
  void Clear();
  // Frees the actions after index i; Position is kept within the list.
  void TruncateAfter(int i);

  bool CanUndo() const { return fPosition >= 0; }
  bool CanRedo() const { return fPosition < Count() - 1; }
  void Undo();
  void Redo();

  // Appends a done action. Undone actions are dropped first, and the oldest
  // actions beyond MaxUndo afterwards.
  void Add(std::unique_ptr<TUndoObj> action);

  // Limits the history to n actions (negative counts as 0): undone actions go
  // first, then the oldest done ones, so the remaining history still leads
  // step by step to the current state.
  void SetMaxUndo(int n);

  int Position() const { return fPosition; }
  int MaxUndo() const { return fMaxUndo; }
  int Count() const { return int(fItems.size()); }
  TUndoObj* Items(int index) const { return fItems.at(size_t(index)).get(); }

 private:
  void DropOldest(int count);

  std::vector<std::unique_ptr<TUndoObj>> fItems;
  int fPosition = -1;
  int fMaxUndo = kDefaultMaxUndo;
};
