// The program's own artwork, drawn with QPainter from the shapes in shapes.h rather than
// kept as image files: the login pictures a program folder's BMP/ receives and the program
// icon every window carries. Each picture can be drawn at any size; the folder gets them at
// the size of the login dialog's picture controls, so that they show unscaled.
//
// Drawing needs no QGuiApplication (configura-initdb draws without one); programIcon() does,
// since icons hold pixmaps.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <string>
#include <vector>

namespace art {

// Controls 301 and 302 of the login template XLOGINUSR (70 x 84 and 40 x 26 dialog units)
// in pixels, with the template's 8-point dialog font at 96 dots per inch.
inline constexpr QSize kLoginPictureSize{105, 126};
inline constexpr QSize kServerPictureSize{60, 39};

// "ART1.BMP": the hotel at dusk, lit windows, palms, a frame around it. Opaque.
QImage loginPicture(QSize size = kLoginPictureSize);
// "ADS2.BMP", shown while the program works through the database server: the database
// linked to the hotel, on a light panel. Opaque.
QImage serverPicture(QSize size = kServerPictureSize);
// The program icon at `pixels` x `pixels`, transparent around its rounded tile; small
// sizes draw fewer windows so that the building still reads.
QImage programIconImage(int pixels);
// The icon at the usual sizes from 16 to 256 pixels.
QIcon programIcon();

// Writes ART1.BMP and ADS2.BMP into `bmpFolder` (which must exist). A picture already there
// is left as it is (a hotel may have put its own). Returns the names written; throws
// std::runtime_error naming the file when one cannot be written.
std::vector<std::string> installFolderPictures(const std::string& bmpFolder);

}  // namespace art
