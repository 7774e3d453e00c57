#pragma once
// Colours as the settings store keeps them: 0x00BBGGRR.
#include <QColor>
#include <QIcon>
#include <QString>
#include <cstdint>

inline QColor ColourFromColorRef(uint32_t colorRef) {
  return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

inline uint32_t ColorRefFromColour(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
         (static_cast<uint32_t>(colour.blue()) << 16);
}

// A colour kept as a number, shown as a person reads it: "255, 0, 0" (red, green, blue).
inline QString ColourRefText(uint32_t colorRef) {
  const QColor colour = ColourFromColorRef(colorRef);
  return QString("%1, %2, %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

// A small square of the colour, for lists that show a colour's number.
QIcon ColourRefSwatch(uint32_t colorRef);
