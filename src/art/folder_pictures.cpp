#include <QImage>
#include <filesystem>
#include <stdexcept>

#include "art/artwork.h"

namespace art {

std::vector<std::string> installFolderPictures(const std::string& bmpFolder) {
  struct Picture {
    const char* name;
    QImage (*draw)(QSize);
    QSize size;
  };
  const Picture pictures[] = {{"ART1.BMP", loginPicture, kLoginPictureSize},
                              {"ADS2.BMP", serverPicture, kServerPictureSize}};
  std::vector<std::string> written;
  for (const Picture& picture : pictures) {
    std::filesystem::path file = std::filesystem::path(bmpFolder) / picture.name;
    if (std::filesystem::exists(file)) continue;
    if (!picture.draw(picture.size).save(QString::fromStdString(file.string()), "BMP"))
      throw std::runtime_error("no se puede escribir " + file.string());
    written.push_back(picture.name);
  }
  return written;
}

}  // namespace art
