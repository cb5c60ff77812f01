// The colour of the stand-in plugin's pictures.
#pragma once

#include <QRgb>

inline constexpr QRgb kStandInColour = 0xFF123456;
