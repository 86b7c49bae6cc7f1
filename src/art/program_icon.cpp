#include <QLinearGradient>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

#include "art/artwork.h"
#include "art/palette.h"
#include "art/shapes.h"

namespace art {

using namespace palette;

QImage programIconImage(int pixels) {
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  const double S = pixels;
  const bool small = pixels < 32;
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);

  QRectF tile(0.03 * S, 0.03 * S, 0.94 * S, 0.94 * S);
  QLinearGradient g(tile.topLeft(), tile.bottomRight());
  g.setColorAt(0, kNight.lighter(115));
  g.setColorAt(1, kTeal);
  p.setBrush(g);
  p.drawRoundedRect(tile, 0.2 * S, 0.2 * S);

  // A daylight hotel: cream walls, windows of the tile's blue, some lit.
  FacadeStyle hotel{kCream, QColor(), kGold, kNight, small ? 2 : 3, small ? 3 : 4, pixels >= 24, pixels >= 48};
  const double top = pixels >= 48 ? 0.27 * S : 0.17 * S;
  drawFacade(p, QRectF(0.18 * S, top, 0.44 * S, 0.84 * S - top), hotel);

  // The gear of the settings, over the building's corner.
  const double radius = small ? 0.25 * S : 0.21 * S;
  drawGear(p, QPointF(0.7 * S, 0.7 * S), radius, small ? 6 : 8, kGold, kNight, kNight, std::max(1.0, 0.035 * S));
  return image;
}

QIcon programIcon() {
  QIcon icon;
  for (int pixels : {16, 20, 24, 32, 40, 48, 64, 96, 128, 256})
    icon.addPixmap(QPixmap::fromImage(programIconImage(pixels)));
  return icon;
}

}  // namespace art
