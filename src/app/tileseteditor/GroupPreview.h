#pragma once

#include <QWidget>

class TTileGroup;

// Shows one group as the editor's preview: a wall style as its twelve
// pieces, each labelled with its place in the strip; any other group in
// its eight orientations and laid out on a small sample grid the way the
// place-tiles tool would paint it.
class TGroupPreview : public QWidget {
 public:
  explicit TGroupPreview(QWidget* parent = nullptr);

  // Not owned; none shows an empty panel. Call again after the group changed.
  void SetGroup(const TTileGroup* group, bool wallStyle);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintOrientations(QPainter& painter, int top) const;
  void PaintSampleGrid(QPainter& painter, int top) const;
  void PaintWallPieces(QPainter& painter) const;

  const TTileGroup* fGroup = nullptr;
  bool fWallStyle = false;
};
