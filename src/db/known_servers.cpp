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

DbResult<int> ReadKnownServers(CSQLite& db, KnownServerSort sort, std::vector<KnownServer>& rows,
                               const SqlRun& how) {
  rows.clear();
  const std::string query = KnownServersQuery(sort);
  std::vector<QueryCell> cells;
  const DbResult<int> columns = db.GetQueryData(query, {}, cells, SqlRun{how.openFirst});
  DbResult<int> result = columns;
  if (columns.Status() == DbStatus::kNotPrepared) {
    result = DbStatus::kFailed;  // no OPCAcq table: not an empty list
  } else if (!columns) {
    result = columns.Status() == DbStatus::kOpenFailed ? DbStatus::kOpenFailed : DbStatus::kFailed;
  } else if (columns.Value() == kKnownServerColumns && cells.size() % kKnownServerColumns == 0) {
    for (size_t i = 0; i + 2 < cells.size(); i += kKnownServerColumns)
      rows.push_back({CellText(cells[i]), CellText(cells[i + 1]), CellText(cells[i + 2])});
    result = static_cast<int>(rows.size());
  } else if (columns.Value() > 0) {
    result = DbStatus::kFailed;  // a blob column: the rows cannot be read as texts
  }
  if (how.closeAfter)
    db.Close();
  return result;
}
