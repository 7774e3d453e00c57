#pragma once
// QueryCell: one column of one row of a query result, as CSQLite::GetQueryData returns it.
#include <cstdint>
#include <string>

// SQLite's fundamental types as a cell reports them (blob columns produce no cell).
inline constexpr int kCellInteger = 1;
inline constexpr int kCellFloat = 2;
inline constexpr int kCellText = 3;
inline constexpr int kCellNull = 5;

// The text of a null cell.
inline constexpr char kNullFieldText[] = "NULL Field";

struct QueryCell {
  std::string columnName;  // as SQLite names the result column (an alias wins)
  int columnType = kCellNull;
  int32_t intValue = 0;     // set for kCellInteger, 0 otherwise
  float floatValue = 0.0f;  // set for kCellFloat: SQLite's double narrowed to single precision
  std::string text;         // set for kCellText; kNullFieldText for kCellNull
};

// SQLite's double as the single-precision value a cell keeps (out of range: infinity).
float NarrowToSingle(double value);
