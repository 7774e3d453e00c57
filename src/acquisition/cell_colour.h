#pragma once
// Text colour of a data cell from its status bits: the first bit found in the order bad
// quality, inactive, interpolated; the standard colour when none. Colours are 0x00BBGGRR.
#include <cstdint>

#include "acquisition/data_set.h"

struct DataColours {
  uint32_t standard = 0x000000;
  uint32_t badQuality = 0x0000FF;
  uint32_t interpolated = 0xE19854;
  uint32_t inactive = 0x404040;
};

inline uint32_t CellColour(uint8_t status, const DataColours& colours) {
  if (status & kStatusBadQuality)
    return colours.badQuality;
  if (status & kStatusInactive)
    return colours.inactive;
  if (status & kStatusInterpolated)
    return colours.interpolated;
  return colours.standard;
}
