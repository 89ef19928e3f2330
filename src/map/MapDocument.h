#pragma once

#include "SubCells.h"

#include <QObject>
#include <QString>

class TTileMap;

// What one map announces to whoever shows or follows it: the sub-cells a
// change touched, the modified flag, whether its history can undo and redo,
// and its name. The map itself stays a plain class; every map carries one
// document, made and freed with it (TTileMap::Document), and calls it at the
// points where it changes. So no map changes unannounced, whoever holds it
// (the open-map list, the command-line tool, a test), and nothing has to be
// registered or cleared by hand: a listener connects with a context object,
// and the connection ends with whichever side goes first.
class TMapDocument : public QObject {
  Q_OBJECT

 public:
  // The map owns its document.
  explicit TMapDocument(TTileMap& map);
  ~TMapDocument() override;

  TTileMap& Map() const { return fMap; }
  // The undo state last announced.
  bool CanUndo() const { return fCanUndo; }
  bool CanRedo() const { return fCanRedo; }

 signals:
  // A change of the map's cells or size (the changes between BeginUndo and
  // EndUndo, or BeginChange and EndChange, arrive together, once).
  void Changed(const TMapChange& change);
  void ModifiedChanged(bool modified);
  // Whether the history can undo or redo changed.
  void UndoStateChanged(bool canUndo, bool canRedo);
  void Renamed(const QString& name);

 private:
  friend class TTileMap;
  // Announces the undo state when it differs from the last one announced.
  void HistoryChanged();

  TTileMap& fMap;
  bool fCanUndo = false;
  bool fCanRedo = false;
};
