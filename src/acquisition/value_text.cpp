#include "acquisition/value_text.h"

#include "acquisition/value_compressor.h"
#include "acquisition/value_inflater.h"

#include <zlib.h>

#include <string_view>

namespace {

// The cell cut to kMaxValueCellText bytes, never inside a UTF-8 sequence.
std::string_view StoredCell(std::string_view cell) {
  if (cell.size() <= kMaxValueCellText)
    return cell;
  size_t size = kMaxValueCellText;
  while (size > 0 && (static_cast<unsigned char>(cell[size]) & 0xC0) == 0x80)
    --size;
  return cell.substr(0, size);
}

void AppendEncoded(std::string_view cell, std::string& text) {
  for (char c : StoredCell(cell)) {
    if (c == ';')
      text += "%3B";
    else if (c == '%')
      text += "%25";
    else if (c == '\0')
      text += "%00";
    else
      text += c;
  }
}

template <typename Row>
std::string BuildValueText(const Row& row) {
  std::string text;
  for (int column = 1; column <= row.ItemColumns(); ++column) {
    AppendEncoded(row.Cell(column), text);
    text += ';';
    const uint8_t status = row.Status(column);
    if (status != 0)
      text += static_cast<char>('0' + status);
    text += ';';
  }
  return text;
}

}  // namespace

std::string EncodeValueField(const std::string& text) {
  std::string field;
  AppendEncoded(text, field);
  return field;
}

std::string DecodeValueField(const std::string& field) {
  std::string text;
  text.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && field.compare(i, 3, "%3B") == 0) {
      text += ';';
      i += 2;
    } else if (field[i] == '%' && field.compare(i, 3, "%25") == 0) {
      text += '%';
      i += 2;
    } else if (field[i] == '%' && field.compare(i, 3, "%00") == 0) {
      text += '\0';
      i += 2;
    } else {
      text += field[i];
    }
  }
  return text;
}

bool SplitValueText(std::string_view text, std::vector<StoredValueField>& fields) {
  fields.clear();
  size_t position = 0;
  while (position < text.size()) {
    const size_t cellEnd = text.find(';', position);
    if (cellEnd == std::string_view::npos)
      return false;
    const size_t statusEnd = text.find(';', cellEnd + 1);
    if (statusEnd == std::string_view::npos)
      return false;
    StoredValueField field;
    field.text = DecodeValueField(std::string(text.substr(position, cellEnd - position)));
    const std::string_view status = text.substr(cellEnd + 1, statusEnd - cellEnd - 1);
    if (status.size() > 1 || (status.size() == 1 && (status[0] < '1' || status[0] > '7')))
      return false;
    field.status = status.empty() ? 0 : static_cast<uint8_t>(status[0] - '0');
    fields.push_back(std::move(field));
    position = statusEnd + 1;
  }
  return true;
}

std::string OPCAcqValueText(const CompactDataSet& row) {
  return BuildValueText(row);
}
std::string OPCAcqValueText(const DataSet& row) {
  return BuildValueText(row);
}

int CompressValueText(const std::string& text, std::vector<uint8_t>& compressed) {
  CValueCompressor compressor;
  return compressor.Compress(text, compressed);
}

int DecompressValueText(const uint8_t* data, size_t size, std::string& text, size_t limit) {
  CValueInflater inflater;
  std::string_view inflated;
  if (!inflater.Inflate(data, size, limit, inflated)) {
    text.clear();
    return inflater.TooLong() ? Z_BUF_ERROR : Z_DATA_ERROR;
  }
  text.assign(inflated);
  return Z_OK;
}
