#pragma once
// CProjectData: the recorded acquisition that the data view holds — its summary, the
// columns taken from the catalogue's item list, and the rows loaded by the worker into
// the compact table. The export view and the command-line tool read the same table.
// Thread rule: owner's thread (GUI, or the command-line tool's one thread); while a load
// runs only the worker writes the table and the owner reads the rows published so far.
#include <string>
#include <vector>

#include "acquisition/cell_colour.h"
#include "base/app_context.h"
#include "db/sqlite_db.h"
#include "explorer/acquisition_loader.h"
#include "explorer/export_file.h"
#include "explorer/loaded_table.h"

class CProjectData {
 public:
  CProjectData(CSQLite& db, AppContext& context)
      : m_db(db), m_context(context), m_loader(&context.clock) {}
  ~CProjectData() { m_loader.Wait(); }

  // Steps before the rows: the summary (the retrieval report when it is missing, then an
  // expected count of 0) and the columns. The table is emptied.
  void Prepare(int acquisitionId);
  // Prepare, then the rows on a worker. False when a load still runs (or no thread).
  bool StartLoad(int acquisitionId);
  // Prepare, then the rows on this thread; true when every row was read.
  bool LoadNow(int acquisitionId);
  bool IsLoading() const { return m_loader.IsRunning(); }
  // Waits for a running load to end.
  void WaitForLoad() { m_loader.Wait(); }

  // The progress window's text for a state the poller read; a failed load's cause is
  // logged on the final state (once).
  std::string ProgressText(int32_t state);

  int LoadedAcquisitionId() const { return m_nLoadedId; }
  // Showing the view loads unless the requested id is the one already loaded and its rows
  // and end are still those it had when it was loaded (a Resume adds rows and moves the
  // end; another program may record, repair or delete).
  bool NeedsLoad(int requestedId);
  // The acquisition's rows and end as the database has them now: the same token means
  // nothing was added, removed or closed since.
  struct ChangeToken {
    std::string rows;  // count, last row id, end date and time, data count
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
  const CLoadedTable& Table() const { return m_table; }
  CWorkerJob& Job() { return m_loader.Job(); }

 private:
  CSQLite& m_db;
  AppContext& m_context;
  CLoadedTable m_table;  // before the loader, whose worker writes it
  CAcquisitionLoader m_loader;
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
