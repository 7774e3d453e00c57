#pragma once
// The "Available Functions" list of the calculated item editor, and the insertion of a text
// into an expression at the selection of its field.
#include <cstddef>
#include <string>
#include <vector>

struct CalcFunctionEntry {
  const char* pName;         // first column
  const char* pDescription;  // second column
  const char* pInserted;     // text put into the expression when the entry is chosen
};

// Column widths of the list, in pixels.
inline constexpr int kFunctionNameColumnWidth = 100;
inline constexpr int kFunctionDescriptionColumnWidth = 500;

// Every built-in function, in the list's order.
const std::vector<CalcFunctionEntry>& CalcFunctionList();

struct TextInsertion {
  std::string sText;  // the whole new text
  size_t nCaret = 0;  // right after the inserted text
};

// Replaces text[selectionStart, selectionEnd) by inserted. Positions beyond the text are
// taken as its end and a reversed selection is put in order, so any selection a widget
// reports is safe.
TextInsertion InsertIntoText(const std::string& sText, size_t nSelectionStart, size_t nSelectionEnd,
                             const std::string& sInserted);
