#pragma once
// CProjectData: the recorded acquisition that the data view holds — its summary, the
// columns taken from the catalogue's item list, and its rows read in pages from the
// database (CRecordingPages: a worker reads the first page, then walks every row once to
// count those that cannot be read and to note times and extremes for the chart). The
// export view, the project chart and the command-line tool read the same recording.
// Thread rule: owner's thread (GUI, or the command-line tool's one thread); while a load
// runs the worker writes only the job record and the recording's pages and walk results.
#include <string>
#include <vector>

#include "acquisition/cell_colour.h"
#include "base/app_context.h"
#include "db/recording_store.h"
#include "db/sqlite_db.h"
#include "explorer/acquisition_loader.h"
#include "explorer/export_file.h"
#include "explorer/loaded_table.h"
#include "explorer/recording_pages.h"

class CProjectData {
 public:
  CProjectData(CSQLite& db, AppContext& context)
      : m_db(db), m_context(context), m_pages(&context.clock) {}
  ~CProjectData() { m_pages.Stop(); }

  // Steps before the rows: the summary (the retrieval report when it is missing, then an
  // expected count of 0) and the columns. The table is emptied.
  void Prepare(int acquisitionId);
  // Prepare, then the rows on a worker: the first page at once, then the walk (the
  // load). False when a load still runs (or no thread).
  bool StartLoad(int acquisitionId);
  // Prepare, then the rows on this thread; true when every row was read.
  bool LoadNow(int acquisitionId);
  bool IsLoading() const { return m_pages.IsRunning() && !IsFinalJobState(m_job.State()); }
  // Waits for a running load to end (the worker stays to read pages).
  void WaitForLoad();

  // The progress window's text for a state the poller read; a failed load's cause is
  // logged on the final state (once).
  std::string ProgressText(int32_t state);

  int LoadedAcquisitionId() const { return m_nLoadedId; }
  // Showing the view loads unless the requested id is the one already loaded and its rows
  // and end are still those it had when it was loaded (a Resume adds rows and moves the
  // end; another program may record, repair or delete).
  bool NeedsLoad(int requestedId);
  // The acquisition's rows and end as the database has them now: the same token means
  // nothing was added, removed or closed since. Read without counting the rows (a row
  // added, removed or replaced moves an end of the id range).
  struct ChangeToken {
    DbStatus status = DbStatus::kNoRow;  // kNoRow: the acquisition does not exist
    RecordingMarks marks;                // id range, end date and time, data count
    bool operator==(const ChangeToken&) const = default;
  };
  ChangeToken ReadChangeToken(int acquisitionId);

  // After a load: the data sets that could not be read (rows not decoded, and data sets
  // the count names but no row holds) of all the data sets there are (the rows, or the
  // count when it is higher); 0 when all were read.
  int UnreadableDataSets() const;
  int DataSetCount() const;
  // "K of N data sets could not be read", or empty when K is 0.
  std::string DamageText() const;
  bool HasSummary() const { return m_bHasSummary; }
  const AcquisitionSummary& Summary() const { return m_summary; }
  int ExpectedRows() const { return m_nExpectedRows; }
  const CRecordingPages& Recording() const { return m_pages; }
  CWorkerJob& Job() { return m_job; }

 private:
  CSQLite& m_db;
  AppContext& m_context;
  CWorkerJob m_job;  // before the pages, whose worker writes it
  CRecordingPages m_pages;
  AcquisitionSummary m_summary;
  bool m_bHasSummary = false;
  int m_nExpectedRows = 0;
  int m_nLoadedId = -1;
  ChangeToken m_loadedToken;
};

inline constexpr char kDamagedDataSets[] = "%d of %d data sets could not be read";

// The column titles: "OPC Acquisition Time", then the qualified names of the items in
// the catalogue's item-list order.
std::vector<std::string> LoadedTableTitles(CSQLite& db, int acquisitionId);
inline constexpr char kTimeColumnTitle[] = "OPC Acquisition Time";

// The data view's colours: the standard, bad-quality and interpolated settings, and a
// fixed grey (red, green and blue 128) for inactive groups.
inline constexpr uint32_t kProjectInactiveColour = 8421504;
DataColours ProjectDataColours(ISettingsStore& settings);
