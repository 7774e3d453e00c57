#pragma once
// The known servers of the direct server dialog: the distinct (host, server id) pairs
// of the recorded acquisitions, with the class id each was recorded with, for a list
// whose rows fill the dialog's three fields. Thread rule: GUI thread.
#include <string>
#include <vector>

#include "db/sqlite_db.h"

// The captions of the list's columns, in the order of a row's fields.
inline constexpr const char* kKnownServerCaptions[] = {"OPC Server Host", "OPC Server Id",
                                                       "OPC Server GUID (CLSID)"};

// The result column a list is sorted by.
enum class KnownServerSort { kHost, kServerId, kGuid };

struct KnownServer {
  std::string m_sHost;
  std::string m_sServerId;
  std::string m_sGuidText;  // as recorded; empty when the acquisition has none
};

// The sort column named as the query names its result columns ("OPC Server Host",
// "OPC Server Id", "OPC Server Guid"); false for any other text.
bool KnownServerSortFromName(const std::string& name, KnownServerSort& sort);
// The query text, ordered by that column.
std::string KnownServersQuery(KnownServerSort sort);

// Reads the known servers (replacing rows). The number of rows; kFailed when the query
// failed while running or could not be prepared, kOpenFailed when the file could not be
// opened: a failed query is never an empty list.
DbResult<int> ReadKnownServers(CSQLite& db, KnownServerSort sort, std::vector<KnownServer>& rows,
                               const SqlRun& how = SqlRun().Opening().Closing());
