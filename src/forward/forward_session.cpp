#include "forward/forward_session.h"

#include <unistd.h>

#include "acquisition/value_inflater.h"
#include "acquisition/value_text.h"

namespace {

constexpr size_t kHostNameBytes = 256;
constexpr int kBatchesPerNote = 10;

}  // namespace

std::string StationHostName() {
  char name[kHostNameBytes] = {};
  if (gethostname(name, sizeof name - 1) != 0)
    return "unknown";
  return name;
}

bool CForwardSession::OpenLocal(const std::string& databasePath, std::string& error) {
  m_sDatabasePath = databasePath;
  return m_spool.Open(databasePath, error) && m_spool.StationId(m_sStation, error);
}

bool CForwardSession::Connect(const std::string& url, std::string& error) {
  m_sDestination = PgDestination(url);
  m_states.clear();  // the server's state is asked again on the new connection
  if (!m_connection.Connect(url, error))
    return false;
  CCentralStore store(m_connection);
  if (!store.EnsureSchema(error) || !store.PutStation(m_sStation, StationHostName(), error)) {
    m_connection.Close();
    return false;
  }
  return true;
}

bool CForwardSession::Prepare(int acquisitionId, AcquisitionState& state, std::string& error) {
  if (state.known)
    return true;
  if (!m_spool.Items(acquisitionId, state.items, error))
    return false;
  std::optional<int64_t> lastInstant;
  CCentralStore store(m_connection);
  if (!store.LastRow(m_sStation, acquisitionId, state.lastRow, lastInstant, error))
    return false;
  state.instants.SetPrevious(lastInstant);
  state.known = true;
  return true;
}

bool CForwardSession::SendAcquisition(int acquisitionId, std::string& error) {
  AcquisitionState& state = m_states[acquisitionId];
  state.known = false;  // the items may have been written since
  SpoolAcquisition acquisition;
  if (!m_spool.Acquisition(acquisitionId, acquisition, error) ||
      !Prepare(acquisitionId, state, error))
    return false;
  CCentralStore store(m_connection);
  return store.PutAcquisition(m_sStation, acquisition, m_sProject, state.items,
                              state.instants.Previous(), error);
}

bool CForwardSession::SendBatch(int acquisitionId, int64_t& sent, bool& done, std::string& error,
                                int holdBack) {
  sent = 0;
  done = false;
  AcquisitionState& state = m_states[acquisitionId];
  if (!Prepare(acquisitionId, state, error))
    return false;
  std::vector<SpoolRow> rows;
  int64_t heldFrom = 0;
  if (!m_spool.HeldBackFrom(acquisitionId, holdBack, heldFrom, error) ||
      !m_spool.RowsAfter(acquisitionId, state.lastRow, m_nBatchRows, rows, error))
    return false;
  if (heldFrom > 0) {
    while (!rows.empty() && rows.back().rowId >= heldFrom)
      rows.pop_back();
  }
  if (rows.empty()) {
    done = true;
    return true;
  }
  if (state.items.empty()) {
    // Rows came before the items were read (the recorder writes them first; a reader
    // this early sees them on the next look).
    if (!m_spool.Items(acquisitionId, state.items, error))
      return false;
  }
  std::vector<CentralRow> central(rows.size());
  CLocalInstants instants = state.instants;
  CValueInflater inflater;  // one for the batch, not one a row
  std::string_view text;
  std::vector<StoredValueField> fields;
  const size_t limit = StoredValueTextLimit(static_cast<int>(state.items.size()));
  for (size_t r = 0; r < rows.size(); ++r) {
    CentralRow& row = central[r];
    row.rowId = rows[r].rowId;
    row.unixMs = instants.Next(rows[r].time);
    // A row whose value does not inflate or split keeps its id and time only: the server
    // then has no value for it, as the data view shows it damaged.
    if (rows[r].isBlob &&
        inflater.Inflate(rows[r].value.data(), rows[r].value.size(), limit, text) &&
        SplitValueText(text, fields)) {
      row.cells.reserve(fields.size());
      for (StoredValueField& field : fields)
        row.cells.emplace_back(std::move(field.text), field.status);
    }
  }
  CCentralStore store(m_connection);
  if (!store.SendRows(m_sStation, acquisitionId, state.items, central, error))
    return false;
  // Confirmed: the server holds every row up to the last of the batch.
  state.instants = instants;
  sent = static_cast<int64_t>(rows.size());
  state.lastRow = rows.back().rowId;
  done = static_cast<int>(rows.size()) < m_nBatchRows;
  // Noted now and then, not after each row: every write to the local database is a moment
  // the recorder may find it locked.
  if (++state.batchesUnnoted >= kBatchesPerNote || !done)
    Note(acquisitionId, state);
  return true;
}

void CForwardSession::Note(int acquisitionId, AcquisitionState& state) {
  state.batchesUnnoted = 0;
  if (state.lastRow == state.notedRow)
    return;
  std::string localError;
  // The local record is a note of progress: the server's rows stay the truth, so a
  // failure to note it costs a look, never a row.
  if (m_spool.SetConfirmed(acquisitionId, m_sDestination, state.lastRow, localError))
    state.notedRow = state.lastRow;
}

void CForwardSession::FlushConfirmed() {
  for (auto& [id, state] : m_states) {
    if (state.known)
      Note(id, state);
  }
}

bool CForwardSession::Waiting(int acquisitionId, int64_t& waiting, std::string& error) {
  int64_t confirmed = 0;
  const auto state = m_states.find(acquisitionId);
  if (state != m_states.end() && state->second.known)
    confirmed = state->second.lastRow;
  else if (!m_sDestination.empty() &&
           !m_spool.Confirmed(acquisitionId, m_sDestination, confirmed, error))
    return false;
  return m_spool.CountAfter(acquisitionId, confirmed, waiting, error);
}
