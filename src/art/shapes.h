// Shapes the pictures and the icon are made of, drawn into a rectangle of any size so that
// one drawing serves every resolution.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace art {

struct FacadeStyle {
  QColor wall, shade;  // front and side (no side when `shade` is invalid)
  QColor lit, unlit;   // window colours
  int columns = 4, rows = 6;
  bool entrance = true;  // a lit door under a canopy
  bool sign = true;      // a sign with an "H" on the roof
};

// A hotel building filling `r`: the front, its windows in a grid (some lit, always the same
// ones), the side face to the right of `r` and the roof sign above it when asked.
void drawFacade(QPainter& p, const QRectF& r, const FacadeStyle& style);

// A gear of `teeth` teeth centred on `centre` with outer radius `radius`, with a hole of
// colour `hole`; outlined with `outline` when `outlineWidth` > 0.
void drawGear(QPainter& p, QPointF centre, double radius, int teeth, const QColor& fill, const QColor& hole,
              const QColor& outline = {}, double outlineWidth = 0);

// A palm tree silhouette standing at `foot`, `height` tall, leaning right (`lean` > 0) or left.
void drawPalm(QPainter& p, QPointF foot, double height, double lean, const QColor& colour);

}  // namespace art
