#pragma once
// Colours as the settings store keeps them: 0x00BBGGRR.
#include <QColor>
#include <cstdint>

inline QColor ColourFromColorRef(uint32_t colorRef) {
  return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

inline uint32_t ColorRefFromColour(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
         (static_cast<uint32_t>(colour.blue()) << 16);
}
