#pragma once

#include "UndoRedoU.h"

#include <QtGlobal>

#include <memory>
#include <vector>

class TSubTile;
class TTileMap;
class TTileMapUndoObj;

// One recorded step of a map action.
class TTileMapStateObj {
 public:
  explicit TTileMapStateObj(TTileMapUndoObj* owner) : fOwner(owner) {}
  virtual ~TTileMapStateObj() = default;
  virtual void Undo() = 0;
  virtual void Redo() = 0;

  // The action the step belongs to (not owned).
  TTileMapUndoObj* Owner() const { return fOwner; }

 private:
  TTileMapUndoObj* fOwner;
};

// One SetWidth or SetHeight: the map's size before and after, in sub-cells.
class TTileMapSizeState : public TTileMapStateObj {
 public:
  TTileMapSizeState(TTileMapUndoObj* owner, int oldWidth, int oldHeight, int newWidth,
                    int newHeight);
  void Undo() override;
  void Redo() override;

  int OldWidth() const { return fOldWidth; }
  int OldHeight() const { return fOldHeight; }
  int NewWidth() const { return fNewWidth; }
  int NewHeight() const { return fNewHeight; }

 private:
  int fOldWidth;
  int fOldHeight;
  int fNewWidth;
  int fNewHeight;
};

// One cell of one layer before and after a step. The sub-tiles are entries
// of the map's embedded tiles (not owned), none for an empty cell.
class TTileMapTileState : public TTileMapStateObj {
 public:
  TTileMapTileState(TTileMapUndoObj* owner, int layer, int x, int y, const TSubTile* oldSubTile,
                    quint8 oldOrientation, const TSubTile* newSubTile, quint8 newOrientation);
  void Undo() override;
  void Redo() override;

  int Layer() const { return fLayer; }
  int X() const { return fX; }
  int Y() const { return fY; }
  const TSubTile* OldSubTile() const { return fOldSubTile; }
  quint8 OldOrientation() const { return fOldOrientation; }
  const TSubTile* NewSubTile() const { return fNewSubTile; }
  quint8 NewOrientation() const { return fNewOrientation; }

 private:
  void Apply(const TSubTile* subTile, quint8 orientation);

  int fLayer;
  int fX;
  int fY;
  const TSubTile* fOldSubTile;
  quint8 fOldOrientation;
  const TSubTile* fNewSubTile;
  quint8 fNewOrientation;
};

// One undoable map action: the steps recorded between BeginUndo and EndUndo,
// replayed backwards by Undo and forwards by Redo.
class TTileMapUndoObj : public TUndoObj {
 public:
  explicit TTileMapUndoObj(TTileMap* map) : fMap(map) {}
  ~TTileMapUndoObj() override;

  void AddTileState(int layer, int x, int y, const TSubTile* oldSubTile, quint8 oldOrientation,
                    const TSubTile* newSubTile, quint8 newOrientation);
  void AddSizeState(int oldWidth, int oldHeight, int newWidth, int newHeight);

  void Undo() override;
  void Redo() override;
  // The action moved the whole map's content (a nudge): undo and redo report
  // the whole map changed.
  void SetWholeMap() { fWholeMap = true; }
  bool WholeMap() const { return fWholeMap; }

  // The map the action changes (not owned).
  TTileMap* Map() const { return fMap; }
  int StateCount() const { return int(fStates.size()); }
  const TTileMapStateObj* State(int index) const { return fStates.at(size_t(index)).get(); }

 private:
  std::vector<std::unique_ptr<TTileMapStateObj>> fStates;
  TTileMap* fMap;
  bool fWholeMap = false;
};

// Records the changes a scope makes to a map as one undoable action:
// BeginUndo when the step is made and EndUndo when it goes, also when an
// exception leaves the scope, so whatever changed before the failure stays
// one action that Undo takes back. A step made while the map is already
// recording adds to that action and leaves closing it to its owner.
class TUndoStep {
 public:
  explicit TUndoStep(TTileMap& map);
  // Lets a failure of EndUndo through, except while an exception is already
  // unwinding the scope: that first exception is the one reported.
  ~TUndoStep() noexcept(false);
  TUndoStep(const TUndoStep&) = delete;
  TUndoStep& operator=(const TUndoStep&) = delete;

 private:
  TTileMap& fMap;
  bool fOpened;
  int fUncaught;
};
