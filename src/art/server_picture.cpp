#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>

#include "art/artwork.h"
#include "art/palette.h"
#include "art/shapes.h"

namespace art {

using namespace palette;

namespace {

// A database drum: a cylinder with its top face and two seams.
void drawDatabase(QPainter& p, const QRectF& body, double rim) {
  QLinearGradient side(body.left(), 0, body.right(), 0);
  side.setColorAt(0, kDusk.darker(130));
  side.setColorAt(0.45, kDusk.lighter(125));
  side.setColorAt(1, kWallShade);
  p.setBrush(side);
  QPainterPath drum;
  drum.moveTo(body.left(), body.top());
  drum.lineTo(body.left(), body.bottom());
  drum.arcTo(QRectF(body.left(), body.bottom() - rim, body.width(), 2 * rim), 180, 180);
  drum.lineTo(body.right(), body.top());
  drum.closeSubpath();
  p.drawPath(drum);
  QPen seam(kCream, std::max(1.0, rim * 0.18));
  seam.setColor(QColor(255, 244, 220, 150));
  p.setPen(seam);
  p.setBrush(Qt::NoBrush);
  for (double at : {1.0 / 3, 2.0 / 3}) {
    double y = body.top() + at * body.height();
    p.drawArc(QRectF(body.left(), y - rim, body.width(), 2 * rim), 180 * 16, 180 * 16);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(kDusk.lighter(150));
  p.drawEllipse(QRectF(body.left(), body.top() - rim, body.width(), 2 * rim));
}

}  // namespace

QImage serverPicture(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  const double W = size.width(), H = size.height();
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);

  QLinearGradient panel(0, 0, 0, H);
  panel.setColorAt(0, QColor(0xF8, 0xFA, 0xFD));
  panel.setColorAt(1, QColor(0xDD, 0xE6, 0xF0));
  p.fillRect(QRectF(0, 0, W, H), panel);

  const double rim = 0.09 * H;
  drawDatabase(p, QRectF(0.1 * W, 0.22 * H, 0.34 * W, 0.6 * H), rim);

  // The link from the database to the hotel.
  const double y = 0.56 * H, dot = std::max(1.5, 0.06 * H);
  p.setPen(QPen(kGold.darker(110), std::max(1.0, 0.05 * H), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(0.46 * W, y), QPointF(0.64 * W, y));
  p.setPen(Qt::NoPen);
  p.setBrush(kGold.darker(110));
  p.drawEllipse(QPointF(0.46 * W, y), dot, dot);
  p.drawEllipse(QPointF(0.64 * W, y), dot, dot);

  drawFacade(p, QRectF(0.67 * W, 0.26 * H, 0.22 * W, 0.62 * H),
             FacadeStyle{kWall, QColor(), kLit, kUnlit, 2, 3, false, false});

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x8C, 0x9B, 0xB0), 1));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
  return image;
}

}  // namespace art
