#include "UndoRedoU.h"

#include <algorithm>

TUndoRedoList::TUndoRedoList() = default;

TUndoRedoList::~TUndoRedoList() {
  Clear();
}

void TUndoRedoList::Clear() {
  // Free in index order, as the actions were made.
  for (auto& item : fItems)
    item.reset();
  fItems.clear();
  fPosition = -1;
}

void TUndoRedoList::TruncateAfter(int i) {
  i = std::max(i, -1);
  if (i >= Count() - 1) return;
  for (size_t k = size_t(i + 1); k < fItems.size(); ++k)
    fItems[k].reset();
  fItems.resize(size_t(i + 1));
  if (fPosition > Count() - 1) fPosition = Count() - 1;
}

void TUndoRedoList::Undo() {
  if (!CanUndo()) return;
  fItems[size_t(fPosition)]->Undo();
  --fPosition;
}

void TUndoRedoList::Redo() {
  if (!CanRedo()) return;
  ++fPosition;
  fItems[size_t(fPosition)]->Redo();
}

void TUndoRedoList::Add(std::unique_ptr<TUndoObj> action) {
  if (!action) return;
  if (CanRedo()) TruncateAfter(fPosition);
  fItems.push_back(std::move(action));
  ++fPosition;
  if (Count() > fMaxUndo) DropOldest(Count() - fMaxUndo);
}

void TUndoRedoList::SetMaxUndo(int n) {
  n = std::max(n, 0);
  // Dropping the newest done actions would leave a history whose remaining
  // steps no longer lead to the map as it is; undone actions are expendable.
  if (n < Count()) TruncateAfter(std::max(fPosition, n - 1));
  if (n < Count()) DropOldest(Count() - n);
  fMaxUndo = n;
}

void TUndoRedoList::DropOldest(int count) {
  count = std::min(count, Count());
  for (int k = 0; k < count; ++k)
    fItems[size_t(k)].reset();
  fItems.erase(fItems.begin(), fItems.begin() + count);
  fPosition = std::max(fPosition - count, -1);
}
