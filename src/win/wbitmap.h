// A picture control: a static control of a template (CONTROL "" id, "Static", SS_BITMAP)
// showing an image file, as the login dialog shows the pictures of the program folder's
// BMP/.
#pragma once

#include <string>

#include "win/controls.h"

namespace win {

class WBITMAP : public WCONTROL {
 public:
  using WCONTROL::WCONTROL;
  // Shows the picture in `file` (BMP, PNG, ...), centred, shrunk to the control keeping its
  // proportions when it is larger; a picture that fits is shown pixel for pixel. False, and
  // the control left empty, when the file is missing or no picture.
  bool LOAD(const std::string& file);
  // True while a picture is shown.
  bool HasPicture() const;
};

}  // namespace win
