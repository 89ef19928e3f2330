#pragma once

#include <QImage>

// Object pictures, each covering its whole group (PatWidth × PatHeight
// cells), keyed with kKeyColour: drawn antialiased on a transparent canvas,
// ringed with a dark outline, then flattened.
QImage PaintBarrel();      // 1 × 1
QImage PaintCrate();       // 1 × 1
QImage PaintChest();       // 1 × 1
QImage PaintRoundTable();  // 2 × 2
QImage PaintLongTable();   // 2 × 2
QImage PaintBookshelf();   // 1 × 2, against the left edge
QImage PaintBed();         // 1 × 2, head at the top
QImage PaintCoffin();      // 2 × 1, head at the left
QImage PaintAltar();       // 2 × 1
QImage PaintStatue();      // 1 × 1
QImage PaintRubble();      // 1 × 1
QImage PaintBanner();      // 1 × 1, hanging from the top edge

// Doors lie full width across the picture, a frame block at each end, half
// a wall thickness below its middle line: placed half a cell down they fill
// the band of a wall on the top edge of the cell below, and turned a quarter
// clockwise per side, the band of a right, bottom or left wall.
QImage PaintDoorClosed();
QImage PaintDoorOpen();
QImage PaintPortcullis();
QImage PaintSecretDoor();
