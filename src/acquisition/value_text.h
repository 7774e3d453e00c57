#pragma once
// The stored form of a data set: for each item column, its cell text then ";", its status
// bits as 1..7 then ";" (or ";" alone when 0). No time, no header, no terminator. The text
// is stored as a zlib stream (RFC 1950; level 6, 15-bit window, memory level 8).
#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/data_set.h"

std::string OPCAcqValueText(const CompactDataSet& row);
std::string OPCAcqValueText(const DataSet& row);

// Compresses the whole text into a buffer sized for it. Returns the zlib result code
// (Z_OK = 0 on success).
int CompressValueText(const std::string& text, std::vector<uint8_t>& compressed);
// Inflates a stored value; any length. Returns the zlib result code.
int DecompressValueText(const uint8_t* data, size_t size, std::string& text);
