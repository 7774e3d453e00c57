#pragma once
// CAcquisitionCatalogue: the logic of the catalogue view — the keyed list of recorded
// acquisitions in the chosen order, the selection with its details, the repair of an
// acquisition that was not closed properly, and the deletion with the compaction of the
// database. The lists are kept (mirrored) so that the view and the command-line tool
// read the same rows; the view plugs its tables in as targets.
// Thread rule: GUI thread (or the command-line tool's one thread).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/app_context.h"
#include "db/mirrored_list_control.h"
#include "db/sqlite_db.h"

inline constexpr int kNoCatalogueRow = -1;
inline constexpr int kNoAcquisitionId = -1;

// The detail area of the selected acquisition.
struct CatalogueDetails {
  std::string serverId;
  std::string host;
  std::string start;  // start date + " " + start time
  std::string end;
  int groups = 0;
  int acquiredItems = 0;
  int calculatedItems = 0;
};

enum class RepairResult {
  kNoSelection,
  kComplete,   // nothing to repair
  kRepaired,   // end and count written from the rows
  kFailed,     // no row to take the end from: the update error report was shown
  kRecording,  // being recorded (by this or another program): not closed, not repaired
};

enum class DeleteResult {
  kNoSelection,
  kRejected,   // the acquisition is being recorded
  kCancelled,  // the user did not confirm
  kDeleted,
  kFailed,  // the script failed (logged); the compaction still ran
};

class CAcquisitionCatalogue {
 public:
  CAcquisitionCatalogue(CSQLite& db, AppContext& context) : m_db(db), m_context(context) {}

  // Where the catalogue and the item list are shown (null: kept only).
  void SetTargets(IListControl* catalogue, IListControl* items);

  int SortChoice() const { return m_nSortChoice; }
  // Sets the choice (out of range counts as the first) and refreshes (Refresh's answer).
  DbResult<int> SetSortChoice(int sortIndex);

  // Fills the list only: no selection, no repair (the command-line tool's listing). The
  // rows listed; kOpenFailed, kFailed or kNotPrepared when the list could not be filled.
  DbResult<int> List();
  // Whether a selection repairs its row (the view's way; on by default).
  void SetRepairOnSelect(bool repair) { m_bRepairOnSelect = repair; }

  // Fills the list; selects row 0 the first time rows exist; shows the details of the
  // selected row and repairs it. Returns List's answer.
  DbResult<int> Refresh();
  // A row becomes selected: details and repair. False when the database cannot be opened.
  bool SelectRow(int row);
  // Selects the row whose key is the id (the command-line tool's way). False when the
  // list holds no such acquisition.
  bool SelectAcquisition(int acquisitionId);
  // Double click / "View Project Data": repairs the row and returns the id to show
  // (-1 when none is selected, or the database cannot be opened).
  int ViewData(int row);
  // Repairs the selected row on the open database (the callers open and close it). An
  // acquisition being recorded is left alone; asked for explicitly (request), the
  // refusal is reported ("Request Rejection").
  RepairResult Repair(bool request = false);
  // Deletes the selected acquisition after the confirmation report; runningId is the id
  // of the acquisition this program records (-1 when none). One that any program records
  // is refused with the rejection report.
  DeleteResult Delete(int runningId);
  // Whether the row's acquisition is being recorded (by any program) as the list was
  // filled.
  bool IsBeingRecorded(int row) const;

  int RowCount() const { return m_nRowCount; }
  int SelectedRow() const { return m_nSelectedRow; }
  int SelectedAcquisitionId() const { return m_nSelectedId; }
  const CatalogueDetails& Details() const { return m_details; }
  // The kept rows: the catalogue (key = acquisition id) and the selection's item list.
  const CRecordingListControl& Catalogue() const { return m_catalogue.Copy(); }
  const CRecordingListControl& Items() const { return m_items.Copy(); }
  // Row of the catalogue holding the id; -1 when none.
  int RowOfAcquisition(int acquisitionId) const;

  // The size lines of the last deletion (empty when a size could not be read).
  const std::string& LastSizeLine() const { return m_sLastSizeLine; }

 private:
  DbResult<int> FillList();
  // Details of a row (id -1 for a row that is not listed).
  int ShowDetails(int row);
  std::string CatalogueCell(int row, int column) const;

  CSQLite& m_db;
  AppContext& m_context;
  CMirroredListControl m_catalogue;
  CMirroredListControl m_items;
  int m_nSortChoice = 0;
  int m_nRowCount = 0;
  int m_nSelectedRow = kNoCatalogueRow;
  int m_nSelectedId = kNoAcquisitionId;
  CatalogueDetails m_details;
  std::string m_sLastSizeLine;
  bool m_bRepairOnSelect = true;
  std::vector<bool> m_recorded;  // per listed row: held by a recording lock
};

// The counts of the detail area from an item list (group name runs, item types).
void CountCatalogueItems(const CRecordingListControl& items, int rows, CatalogueDetails& details);
// The database file's size, or nothing when it cannot be read.
std::optional<uint64_t> DatabaseFileSize(const std::string& path);
