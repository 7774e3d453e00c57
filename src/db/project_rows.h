#pragma once
// CProjectRows: the statements of a saved project in OPCPrj, OPCGrp and OPCItem: the
// project, group and item lists (shown through a list control, which logs them), the
// clean before a save, the rows of a save and the latest id of a name, the deletion of a
// project. Values are bound, or quoted with SQLite's %q
// inside the scripts that run as one transaction. New ids come from the one id source
// (db/row_ids.h). Thread rule: that of the connection.
#include <cstdint>
#include <string>
#include <vector>

#include "db/sqlite_db.h"

// One OPCItem row of a group.
struct ProjectItemRow {
  std::string qualifiedId;
  std::string shortId;
  std::string data;  // an acquired item's description, a calculated item's expression
  int dataType = 0;
};

// One OPCGrp row.
struct ProjectGroupRow {
  std::string name;
  bool active = false;
  int updateRate = 0;
  int timeBias = 0;
  int deadBand = 0;
  int readInterface = 0;
};

// The OPCPrj row of a project: what a load or an export starts from.
struct ProjectHead {
  int64_t id = 0;
  std::string serverId;
  std::string host;
  std::string classIdText;
};

class CProjectRows {
 public:
  explicit CProjectRows(CSQLite& db) : m_db(db) {}

  // The project list in the order of a sort choice (db/project_list.h). withCounts: the
  // load dialog's form, with "Group Count" and "Total Item Count" before the dates.
  static std::string ListStatement(bool withCounts, int sortIndex);
  // The group and item lists of a project (keyed by OPCGrp_Id and OPCItem_Id).
  static std::string GroupListStatement(int64_t projectId);
  static std::string ItemListStatement(int64_t projectId);

  // Whether a project of the name exists (never logged).
  DbResult<bool> NameExists(const std::string& name, const SqlRun& how = {});
  // The highest project id of the name (kNoRow when there is none).
  DbResult<int64_t> LatestId(const std::string& name, const SqlRun& how = {});
  // The row of the latest project of the name (kNoRow when there is none).
  DbResult<ProjectHead> LatestHead(const std::string& name, const SqlRun& how = {});
  // On the open handle, one transaction: every project of the name, its groups and items.
  DbStatus Clean(const std::string& name);
  // On the open handle, one transaction: every project of the name with its groups and
  // items, children first (no child is ever left without its parent).
  DbStatus Delete(const std::string& name);
  // On the open handle: the OPCPrj row; its new id.
  DbResult<int64_t> InsertProject(const std::string& name, const std::string& serverId,
                                  const std::string& host, const std::string& classIdText,
                                  const std::string& date, const std::string& time);
  // On the open handle: the OPCGrp row; its new id.
  DbResult<int64_t> InsertGroup(int64_t projectId, const ProjectGroupRow& group);
  // On the open handle, one transaction: the item rows of a group, of one item type.
  DbStatus InsertItems(int64_t groupId, const std::vector<ProjectItemRow>& items, int itemType);

 private:
  CSQLite& m_db;
};
