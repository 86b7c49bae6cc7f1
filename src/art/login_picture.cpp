#include <QLinearGradient>
#include <QPainterPath>

#include "art/artwork.h"
#include "art/palette.h"
#include "art/shapes.h"

namespace art {

using namespace palette;

QImage loginPicture(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  const double W = size.width(), H = size.height(), u = W / 100.0;
  const double ground = 0.86 * H;
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);

  QLinearGradient sky(0, 0, 0, ground);
  sky.setColorAt(0, kNight);
  sky.setColorAt(0.6, kDusk);
  sky.setColorAt(1, kHorizon);
  p.fillRect(QRectF(0, 0, W, H), sky);

  QColor star = kCream;
  star.setAlpha(190);
  p.setBrush(star);
  for (QPointF s : {QPointF(0.07, 0.05), QPointF(0.19, 0.13), QPointF(0.31, 0.04), QPointF(0.44, 0.11),
                    QPointF(0.56, 0.03), QPointF(0.12, 0.24), QPointF(0.62, 0.17), QPointF(0.93, 0.3)})
    p.drawEllipse(QPointF(s.x() * W, s.y() * H), 0.8 * u, 0.8 * u);

  QPainterPath moon, shadow;
  moon.addEllipse(QPointF(0.8 * W, 0.12 * H), 8 * u, 8 * u);
  shadow.addEllipse(QPointF(0.8 * W + 4.5 * u, 0.12 * H - 2.5 * u), 7 * u, 7 * u);
  p.fillPath(moon.subtracted(shadow), kCream);

  // Low hills behind the hotel, against the warm horizon.
  QPainterPath hills;
  hills.moveTo(0, 0.78 * H);
  hills.cubicTo(0.2 * W, 0.72 * H, 0.35 * W, 0.8 * H, 0.55 * W, 0.76 * H);
  hills.cubicTo(0.75 * W, 0.72 * H, 0.9 * W, 0.77 * H, W, 0.75 * H);
  hills.lineTo(W, ground);
  hills.lineTo(0, ground);
  hills.closeSubpath();
  p.fillPath(hills, kDusk.darker(140));

  drawFacade(p, QRectF(0.22 * W, 0.32 * H, 0.5 * W, ground - 0.32 * H),
             FacadeStyle{kWall, kWallShade, kLit, kUnlit, 4, 7, true, true});

  p.fillRect(QRectF(0, ground, W, H - ground), kGround);
  // The light of the entrance on the path to it.
  QColor glow = kGold;
  glow.setAlpha(110);
  p.setBrush(glow);
  p.drawPolygon(
      QPolygonF{QPointF(0.41 * W, ground), QPointF(0.53 * W, ground), QPointF(0.62 * W, H), QPointF(0.32 * W, H)});

  // Palms in the foreground, leaning away from the building.
  drawPalm(p, QPointF(0.11 * W, 0.94 * H), 0.4 * H, -0.08, kGround);
  drawPalm(p, QPointF(0.93 * W, 0.96 * H), 0.3 * H, 0.1, kGround);

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kFrame, 1));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
  return image;
}

}  // namespace art
