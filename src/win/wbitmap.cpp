#include "win/wbitmap.h"

#include <QLabel>
#include <QPixmap>

namespace win {

bool WBITMAP::LOAD(const std::string& file) {
  auto* label = qobject_cast<QLabel*>(widget());
  if (!label) return false;
  QPixmap picture(QString::fromStdString(file));
  if (picture.isNull()) {
    label->clear();
    return false;
  }
  const QSize room = label->size();
  if (picture.width() > room.width() || picture.height() > room.height())
    picture = picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  label->setAlignment(Qt::AlignCenter);
  label->setPixmap(picture);
  return true;
}

bool WBITMAP::HasPicture() const {
  auto* label = qobject_cast<QLabel*>(widget());
  return label && !label->pixmap().isNull();
}

}  // namespace win
