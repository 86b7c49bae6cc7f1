#include "art/shapes.h"

#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

namespace art {

namespace {

QPointF polar(QPointF centre, double radius, double angle) {
  return centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
}

// Which windows are lit: a fixed scatter, so that the building looks lived in and every
// picture drawn from it is the same.
bool lit(int column, int row) {
  return (column * 5 + row * 3 + column * row) % 7 < 4;
}

}  // namespace

void drawFacade(QPainter& p, const QRectF& r, const FacadeStyle& s) {
  p.save();
  p.setPen(Qt::NoPen);
  const double w = r.width(), h = r.height();
  if (s.shade.isValid()) {
    // The side recedes: its far edge starts lower, on the same ground line.
    QPolygonF side{r.topRight(), r.topRight() + QPointF(0.16 * w, 0.05 * h), r.bottomRight() + QPointF(0.16 * w, 0),
                   r.bottomRight()};
    p.setBrush(s.shade);
    p.drawPolygon(side);
  }
  p.setBrush(s.wall);
  p.drawRect(r);
  // A parapet along the roof.
  p.setBrush(s.shade.isValid() ? s.shade : s.wall.darker(115));
  p.drawRect(QRectF(r.left() - 0.02 * w, r.top() - 0.025 * h, 1.04 * w, 0.035 * h));
  if (s.sign) {
    QRectF board(r.center().x() - 0.2 * w, r.top() - 0.15 * h, 0.4 * w, 0.1 * h);
    p.setBrush(s.shade.isValid() ? s.shade : s.wall.darker(130));
    for (double leg : {0.3, 0.7})
      p.drawRect(QRectF(board.left() + leg * board.width() - 0.01 * w, board.bottom(), 0.02 * w, 0.03 * h));
    p.setBrush(s.lit);
    p.drawRoundedRect(board, 0.03 * w, 0.03 * w);
    // The "H": two posts and a bar.
    QRectF letter =
        board.adjusted(0.36 * board.width(), 0.18 * board.height(), -0.36 * board.width(), -0.18 * board.height());
    const double stem = letter.width() * 0.28;
    p.setBrush(s.shade.isValid() ? s.shade : s.wall.darker(130));
    p.drawRect(QRectF(letter.left(), letter.top(), stem, letter.height()));
    p.drawRect(QRectF(letter.right() - stem, letter.top(), stem, letter.height()));
    p.drawRect(QRectF(letter.left(), letter.center().y() - stem / 2, letter.width(), stem));
  }
  // The windows, in a grid over the floors above the entrance.
  const double marginX = 0.12 * w, top = 0.07 * h, bottom = s.entrance ? 0.24 * h : 0.07 * h;
  const double cellW = (w - 2 * marginX) / s.columns, cellH = (h - top - bottom) / s.rows;
  for (int row = 0; row < s.rows; ++row) {
    for (int column = 0; column < s.columns; ++column) {
      p.setBrush(lit(column, row) ? s.lit : s.unlit);
      p.drawRect(QRectF(r.left() + marginX + column * cellW + 0.19 * cellW, r.top() + top + row * cellH + 0.18 * cellH,
                        0.62 * cellW, 0.6 * cellH));
    }
  }
  if (s.entrance) {
    QRectF door(r.center().x() - 0.12 * w, r.bottom() - 0.15 * h, 0.24 * w, 0.15 * h);
    p.setBrush(s.lit);
    p.drawRect(door);
    // The canopy over the door, wider than it.
    QPolygonF canopy{QPointF(door.left() - 0.1 * w, door.top()), QPointF(door.right() + 0.1 * w, door.top()),
                     QPointF(door.right() + 0.05 * w, door.top() - 0.035 * h),
                     QPointF(door.left() - 0.05 * w, door.top() - 0.035 * h)};
    p.setBrush(s.shade.isValid() ? s.shade : s.wall.darker(130));
    p.drawPolygon(canopy);
    // The doors' split.
    p.setBrush(s.unlit);
    p.drawRect(QRectF(door.center().x() - 0.008 * w, door.top(), 0.016 * w, door.height()));
  }
  p.restore();
}

void drawGear(QPainter& p, QPointF centre, double radius, int teeth, const QColor& fill, const QColor& hole,
              const QColor& outline, double outlineWidth) {
  const double root = radius * 0.76, step = 2 * std::numbers::pi / teeth;
  QPainterPath gear;
  gear.addEllipse(centre, root, root);
  for (int i = 0; i < teeth; ++i) {
    const double a = i * step - std::numbers::pi / 2;
    QPolygonF tooth{polar(centre, root * 0.9, a - 0.3 * step), polar(centre, radius, a - 0.2 * step),
                    polar(centre, radius, a + 0.2 * step), polar(centre, root * 0.9, a + 0.3 * step)};
    QPainterPath t;
    t.addPolygon(tooth);
    t.closeSubpath();
    gear = gear.united(t);
  }
  p.save();
  p.setPen(outlineWidth > 0 ? QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                            : QPen(Qt::NoPen));
  p.setBrush(fill);
  p.drawPath(gear);
  p.setBrush(hole);
  const double holeRadius = radius * 0.32;
  p.drawEllipse(centre, holeRadius, holeRadius);
  p.restore();
}

void drawPalm(QPainter& p, QPointF foot, double height, double lean, const QColor& colour) {
  const QPointF top = foot + QPointF(lean * height * 0.45, -height);
  const QPointF bend = foot + QPointF(lean * height * 0.05, -height * 0.55);
  const double base = height * 0.045, crown = height * 0.022;
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  QPainterPath trunk;
  trunk.moveTo(foot - QPointF(base, 0));
  trunk.quadTo(bend - QPointF(base * 0.8, 0), top - QPointF(crown, 0));
  trunk.lineTo(top + QPointF(crown, 0));
  trunk.quadTo(bend + QPointF(base * 0.8, 0), foot + QPointF(base, 0));
  trunk.closeSubpath();
  p.drawPath(trunk);
  // Fronds, drooping the further they reach sideways.
  const double length = height * 0.5;
  for (double degrees : {168.0, 138.0, 105.0, 72.0, 40.0, 10.0}) {
    const double a = degrees * std::numbers::pi / 180;
    const QPointF reach(std::cos(a), -std::sin(a));
    const QPointF tip = top + length * reach + QPointF(0, 0.45 * length * std::abs(std::cos(a)));
    const QPointF normal(-reach.y(), reach.x());
    const QPointF mid = top + 0.55 * (tip - top) - QPointF(0, 0.12 * length);
    QPainterPath leaf;
    leaf.moveTo(top);
    leaf.quadTo(mid + 0.16 * length * normal, tip);
    leaf.quadTo(mid - 0.1 * length * normal, top);
    p.drawPath(leaf);
  }
  p.restore();
}

}  // namespace art
