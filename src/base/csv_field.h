#pragma once
// The one writer of delimited-text fields (the export, the backups and clipboard copies,
// the item lists). One rule: a field is put between double quotes, its inner quotes
// doubled, when a reader of that file would otherwise split or change it; every other
// field is written as it is. What a reader splits on and changes differs by file, so the
// rule takes it as options:
// - the export and the backups are read by spreadsheets that split on the one chosen
//   separator and on line ends;
// - the item lists are read back by the add-item dialog, which splits on any of , ; tab,
//   trims blanks at either end of an unquoted field and skips a line starting with '#'.
// Thread rule: pure functions, any thread.
#include <string>
#include <string_view>

struct CsvQuoting {
  // Every character the reader splits fields on.
  std::string_view separators;
  // The reader trims blanks at either end of an unquoted field and takes a leading '#'
  // as a comment: such fields are quoted too.
  bool guardEnds = false;

  // A file read with one separator (the export, the backups). The view points into a
  // static table, so the rule may outlive the argument.
  static CsvQuoting Separator(char separator);
};

// True when the field must be quoted under the rule (always false for an empty field).
bool CsvFieldNeedsQuotes(std::string_view field, const CsvQuoting& quoting);
// Appends the field, quoted when the rule asks for it.
void AppendCsvField(std::string& out, std::string_view field, const CsvQuoting& quoting);
// The field as written.
std::string CsvField(std::string_view field, const CsvQuoting& quoting);
