// CSQLite::UpdateListCtrl: a query result shown in a list control.
#include "db/sqlite_db.h"

#include "base/number_text.h"

namespace {

// The operation's name in the busy lines, as the log has always said it.
constexpr char kOperation[] = "UpdateListCtrl";
constexpr char kStepErrorLine[] = "Step Error ";
constexpr char kSqlErrorText[] = "SQL Error:  ";
constexpr char kSqlStatementText[] = "!!!! \nSQL Statement: ";
constexpr char kEmptyTableColumn[] = "Empty Table";
constexpr char kEmptyTableRow[] = "There is No Data to Show ...";
constexpr int kColumnWidth = 50;

// The text a list shows for one column of the current row. Null shows as in query
// cells; a blob has no text form.
std::string CellText(sqlite3_stmt* query, int column) {
  switch (sqlite3_column_type(query, column)) {
    case SQLITE_INTEGER:
      return Format("%i", sqlite3_column_int(query, column));
    case SQLITE_FLOAT:
      return FormatFixed6(
          static_cast<double>(NarrowToSingle(sqlite3_column_double(query, column))));
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
      return text != nullptr
                 ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(query, column)))
                 : std::string();
    }
    case SQLITE_BLOB:
      return "";
    default:
      return kNullFieldText;
  }
}

}  // namespace

DbResult<int> CSQLite::UpdateListCtrl(const std::string& statement, IListControl& list,
                                      ListCtrlForm form, const SqlRun& how) {
  CWaitCursor wait(m_pFeedback);
  if (!OpenIfAsked(how.openFirst))
    return DbStatus::kOpenFailed;
  LogStatementStart(statement, true, kLogOpcServer);
  list.Clear();
  const int firstShown = form == ListCtrlForm::kKeyed ? 1 : 0;
  int rows = 0;
  bool failed = false;
  bool prepareFailed = false;
  BusyState busy;
  sqlite3_stmt* query = nullptr;
  const int prepared = Prepare(statement, &query, kOperation, true, kLogOpcServer, busy);
  m_nLastResult = prepared;
  if (prepared == SQLITE_BUSY) {
    failed = true;
  } else if (prepared != SQLITE_OK) {
    prepareFailed = true;
    m_context.prompt.ShowMessage(
        kSqlErrorText + HandleErrorMessage() + kSqlStatementText + statement, MessageButtons::kOk,
        MessageIcon::kError);
  } else {
    int code = SQLITE_DONE;
    while (query != nullptr &&
           (code = Step(query, kOperation, true, kLogOpcServer, busy)) == SQLITE_ROW) {
      const int columns = sqlite3_column_count(query);
      if (rows == 0) {
        for (int column = firstShown; column < columns; ++column) {
          const char* name = sqlite3_column_name(query, column);
          list.AddColumn(name != nullptr ? name : "", kColumnWidth, ListAlign::kLeft);
        }
      }
      const int64_t key = form == ListCtrlForm::kKeyed ? sqlite3_column_int(query, 0) : 0;
      const int row =
          list.AddRow(firstShown < columns ? CellText(query, firstShown) : std::string(), key);
      for (int column = firstShown + 1; column < columns; ++column)
        list.SetCell(row, column - firstShown, CellText(query, column));
      ++rows;
    }
    failed = code != SQLITE_DONE;
    if (failed)
      m_nLastResult = code;
    else
      LogStatementEnd(true, kLogOpcServer);
  }
  // Kept before the handle closes: a caller without a message box reports it.
  m_sLastError.clear();
  if (m_nLastResult != SQLITE_OK) {
    m_sLastError = HandleErrorMessage();
    if (m_sLastError.empty())
      m_sLastError = ErrorText(m_nLastResult);
  }
  if (failed)
    LogError(kStepErrorLine + m_sLastError, true, kLogOpcServer);
  if (rows == 0) {
    list.AddColumn(kEmptyTableColumn, kColumnWidth, ListAlign::kLeft);
    list.AddRow(kEmptyTableRow, 0);
  }
  sqlite3_finalize(query);
  list.FitColumns();
  CloseIfAsked(how.closeAfter);
  if (prepareFailed)
    return DbStatus::kNotPrepared;
  if (failed)
    return DbStatus::kFailed;
  return rows;
}
