// The colours the program's artwork shares: a night-blue hotel in warm window light.
#pragma once

#include <QColor>

namespace art::palette {

inline const QColor kNight{0x16, 0x27, 0x45};      // sky at the top, tile of the icon
inline const QColor kDusk{0x3B, 0x6A, 0x96};       // sky further down
inline const QColor kHorizon{0xF0, 0xB7, 0x7E};    // warm band over the horizon
inline const QColor kTeal{0x2A, 0x72, 0x8C};       // the icon's tile, lower corner
inline const QColor kWall{0x27, 0x3C, 0x5A};       // facade at night
inline const QColor kWallShade{0x1B, 0x2B, 0x43};  // the facade's side
inline const QColor kCream{0xFF, 0xF4, 0xDC};      // facade by day (icon), moon, stars
inline const QColor kLit{0xF6, 0xCF, 0x72};        // lit window
inline const QColor kUnlit{0x3E, 0x58, 0x7C};      // dark window
inline const QColor kGold{0xE9, 0xB0, 0x45};       // sign, gear, entrance light
inline const QColor kGround{0x14, 0x21, 0x35};     // ground and silhouettes
inline const QColor kFrame{0x0D, 0x16, 0x26};      // picture frame

}  // namespace art::palette
