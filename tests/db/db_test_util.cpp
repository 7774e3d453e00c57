#include "db_test_util.h"

RawConnection::RawConnection(const std::string& path) {
  sqlite3_open(path.c_str(), &m_pDb);
}

RawConnection::~RawConnection() {
  sqlite3_close(m_pDb);
}

int RawConnection::Exec(const std::string& script) {
  return sqlite3_exec(m_pDb, script.c_str(), nullptr, nullptr, nullptr);
}

std::vector<std::vector<std::string>> RawConnection::Rows(const std::string& statement) {
  std::vector<std::vector<std::string>> rows;
  sqlite3_stmt* query = nullptr;
  if (sqlite3_prepare_v2(m_pDb, statement.c_str(), -1, &query, nullptr) != SQLITE_OK)
    return rows;
  while (sqlite3_step(query) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int column = 0; column < sqlite3_column_count(query); ++column) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, column));
      row.push_back(text != nullptr ? text : "<null>");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(query);
  return rows;
}

std::string RawConnection::Value(const std::string& statement) {
  const auto rows = Rows(statement);
  return rows.empty() || rows.front().empty() ? "<none>" : rows.front().front();
}

uint32_t HookClock::TickCount() const {
  if (tickStepMs != 0)
    m_clock.AdvanceMs(tickStepMs);
  return m_clock.TickCount();
}

void HookClock::SleepMs(uint32_t milliseconds) {
  m_clock.AdvanceMs(milliseconds);
  ++sleeps;
  sleptMs += milliseconds;
  if (onSleep)
    onSleep(sleeps);
}
