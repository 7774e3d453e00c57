#include "recording_fixture.h"

#include <cstdio>

#include "acquisition/value_text.h"
#include "db/schema.h"

CRecordingFixture::CRecordingFixture(const std::string& path) {
  m_bOk = sqlite3_open(path.c_str(), &m_pDb) == SQLITE_OK && Exec(CreateSchemaScript());
  // The forwarder reads and notes its progress beside these writes, as beside the recorder.
  sqlite3_busy_timeout(m_pDb, 5000);
}

CRecordingFixture::~CRecordingFixture() {
  sqlite3_close(m_pDb);
}

bool CRecordingFixture::Exec(const std::string& sql) {
  return sqlite3_exec(m_pDb, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

int64_t CRecordingFixture::Count(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  int64_t value = -1;
  if (sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    value = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return value;
}

int CRecordingFixture::AddAcquisition(const std::vector<FixtureItem>& items,
                                      const std::string& startText) {
  const std::string date = startText.substr(0, 11);
  const std::string time = startText.substr(12);
  Exec(
      "INSERT INTO OPCAcq( OPCAcq_ServerId, OPCAcq_ServerHost, OPCacq_ServerGuid, "
      "OPCAcq_UpdateRate, OPCAcq_StartDate, OPCAcq_StartTime, OPCAcq_EndDate, OPCAcq_EndTime, "
      "OPCAcq_DataCount) VALUES ('Velmora.SimServer.1', 'Local Host', '', 1000, '" +
      date + "', '" + time + "', 'Undefined', 'Undefined', -1)");
  const int id = static_cast<int>(sqlite3_last_insert_rowid(m_pDb));
  Exec("INSERT INTO OPCAcqGrp( OPCAcq_Id, OPCAcqGrp_Name, OPCAcqGrp_UpdateRate) VALUES (" +
       std::to_string(id) + ", 'Line 1', 1000)");
  const int64_t group = sqlite3_last_insert_rowid(m_pDb);
  for (const FixtureItem& item : items)
    Exec(
        "INSERT INTO OPCAcqItem( OPCAcqGrp_Id, OPCAcqItem_QualifiedName, OPCAcqItem_ShortName, "
        "OPCAcqItem_Data, OPCAcqItem_DataType, OPCAcqItem_ItemType) VALUES (" +
        std::to_string(group) + ", 'Plant.' || '" + item.shortId + "', '" + item.shortId +
        "', '', " + std::to_string(item.dataType) + ", " + (item.calculated ? "1" : "0") + ")");
  return id;
}

int64_t CRecordingFixture::AddRow(int acquisitionId, const std::string& timeText,
                                  const std::vector<std::pair<std::string, int>>& cells) {
  std::string text;
  for (const auto& [cell, status] : cells) {
    text += EncodeValueField(cell) + ";";
    if (status != 0)
      text += std::to_string(status);
    text += ";";
  }
  std::vector<uint8_t> compressed;
  CompressValueText(text, compressed);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(m_pDb,
                     "INSERT INTO OPCAcqData( OPCAcq_Id, OPCAcqData_Time, OPCAcqData_Value) "
                     "VALUES (?, ?, ?)",
                     -1, &insert, nullptr);
  sqlite3_bind_int(insert, 1, acquisitionId);
  sqlite3_bind_text(insert, 2, timeText.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_blob(insert, 3, compressed.data(), static_cast<int>(compressed.size()),
                    SQLITE_TRANSIENT);
  sqlite3_step(insert);
  sqlite3_finalize(insert);
  return sqlite3_last_insert_rowid(m_pDb);
}

std::string FixtureTimeText(int secondsAfter) {
  const int s = 10 * 3600 + secondsAfter;
  char text[32];
  std::snprintf(text, sizeof text, "%02d/Mar/2026 %02d:%02d:%02d.000", 1 + s / 86400, s / 3600 % 24,
                s / 60 % 60, s % 60);
  return text;
}

void CRecordingFixture::AddNumberedRows(int acquisitionId, int first, int count, int items) {
  Exec("BEGIN");
  for (int n = first; n < first + count; ++n) {
    std::vector<std::pair<std::string, int>> cells;
    for (int i = 0; i < items; ++i) {
      char value[32];
      std::snprintf(value, sizeof value, "%d.%d", n, i % 10);
      cells.emplace_back(value, 0);
    }
    AddRow(acquisitionId, FixtureTimeText(n), cells);
  }
  Exec("COMMIT");
}

void CRecordingFixture::SetEnd(int acquisitionId, const std::string& endText, int count) {
  Exec("UPDATE OPCAcq SET OPCAcq_EndDate = '" + endText.substr(0, 11) + "', OPCAcq_EndTime = '" +
       endText.substr(12) + "', OPCAcq_DataCount = " + std::to_string(count) +
       " WHERE OPCAcq_Id = " + std::to_string(acquisitionId));
}
