#include "db/known_servers.h"

namespace {

constexpr char kKnownServersSelect[] =
    "SELECT OPCAcq_ServerHost as 'OPC Server Host', OPCAcq_ServerId AS 'OPC Server Id', "
    "OPCAcq_ServerGuid as 'OPC Server Guid' FROM OPCAcq GROUP BY OPCAcq_ServerHost, "
    "OPCAcq_ServerId ORDER BY ";
constexpr int kKnownServerColumns = 3;

struct SortColumn {
  KnownServerSort sort;
  const char* name;  // the result column's alias
};
constexpr SortColumn kSortColumns[] = {{KnownServerSort::kHost, "OPC Server Host"},
                                       {KnownServerSort::kServerId, "OPC Server Id"},
                                       {KnownServerSort::kGuid, "OPC Server Guid"}};

std::string CellText(const QueryCell& cell) {
  return cell.columnType == kCellNull ? std::string() : cell.text;
}

}  // namespace

bool KnownServerSortFromName(const std::string& name, KnownServerSort& sort) {
  for (const SortColumn& column : kSortColumns) {
    if (name == column.name) {
      sort = column.sort;
      return true;
    }
  }
  return false;
}

std::string KnownServersQuery(KnownServerSort sort) {
  const char* name = kSortColumns[0].name;
  for (const SortColumn& column : kSortColumns) {
    if (column.sort == sort)
      name = column.name;
  }
  // A quoted identifier: in ORDER BY a single-quoted alias would be a constant.
  return std::string(kKnownServersSelect) + "\"" + name + "\"";
}

int ReadKnownServers(CSQLite& db, KnownServerSort sort, std::vector<KnownServer>& rows,
                     bool openFirst, bool closeAfter) {
  rows.clear();
  const std::string query = KnownServersQuery(sort);
  std::vector<QueryCell> cells;
  const int columns = db.GetQueryData(query, cells, openFirst, false);
  int result = columns;
  if (columns == 0) {
    // No row, or a query that could not be prepared (no OPCAcq table): tell them apart.
    const int count = db.CountRows(query, false, false);
    result = count == kDbNotPrepared ? kDbStatementFailed : count;
  } else if (columns == kKnownServerColumns && cells.size() % kKnownServerColumns == 0) {
    for (size_t i = 0; i + 2 < cells.size(); i += kKnownServerColumns)
      rows.push_back({CellText(cells[i]), CellText(cells[i + 1]), CellText(cells[i + 2])});
    result = static_cast<int>(rows.size());
  } else if (columns > 0) {
    result = kDbStatementFailed;  // a blob column: the rows cannot be read as texts
  }
  if (closeAfter)
    db.Close();
  return result;
}
