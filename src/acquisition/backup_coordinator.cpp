#include "acquisition/backup_coordinator.h"

#include <algorithm>

#include "acquisition/acquired_rows.h"
#include "acquisition/acquisition_engine.h"
#include "acquisition/backup_save.h"
#include "acquisition/clipboard_copy.h"
#include "base/settings.h"

namespace {

constexpr char kSaving[] = "Saving ...";
constexpr char kCopying[] = "Copying ...";
constexpr char kSaveProgress[] = "Saving OPC Data %d of %d ...";
constexpr char kSaveDone[] =
    "OPC Acquired Data Saved Successfully to File %s  (%d Data Set saved in %d msec)";
constexpr char kSaveFailed[] = "Error Saving OPC Acquired Data to File %s";
constexpr char kCopyProgress[] = "Copying OPC Data %d of %d to Clipboard ...";
constexpr char kCopyDone[] =
    "Copying OPC Acquired Data to Clipboard Successfully (%d Data Set saved in %d msec)";
constexpr char kCopyFailed[] = "Error Copying OPC Acquired Data to Clipboard";
constexpr char kAutoSaveOn[] =
    "Data AutoSave Activated ... Type: %s Frequency: %d Min. Path: %s Name Root: %s";
constexpr char kAutoSaveOff[] = "Backup OPC Data AutoSave is Desactivated ... ";

}  // namespace

CBackupCoordinator::CBackupCoordinator(AppContext& context, CAcquisitionEngine& engine)
    : m_context(context),
      m_engine(engine),
      m_pDisplay(&m_noDisplay),
      m_settings(ReadBackupSettings(context.settings)),
      m_saveWorker(&context.clock),
      m_copyWorker(&context.clock) {}

CBackupCoordinator::~CBackupCoordinator() {
  m_saveWorker.Join();
  m_copyWorker.Join();
}

BackupSettings CBackupCoordinator::Settings() const {
  BackupSettings settings = m_settings;
  settings.frequency = m_engine.BackupClock().Frequency();
  return settings;
}

void CBackupCoordinator::SetSettings(const BackupSettings& settings) {
  m_settings = settings;
  m_engine.BackupClock().Set(settings.frequency, settings.type);
}

std::string CBackupCoordinator::DatabaseFolder() const {
  return FolderOfFile(m_engine.DatabasePath());
}

void CBackupCoordinator::ApplySettings(const BackupSettings& chosen) {
  m_settings = chosen;
  if (chosen.frequency > 0) {
    if (m_settings.path.empty())
      m_settings.path = DatabaseFolder();
    m_settings.nameRoot = ReducedNameRoot(m_settings.nameRoot);
    m_engine.BackupClock().Set(chosen.frequency, chosen.type);
    m_engine.BackupClock().SetNextTime(m_context.clock.SecondsSince1970() +
                                       60LL * chosen.frequency);
    m_context.log.Log(Format(kAutoSaveOn, BackupTypeText(chosen.type), chosen.frequency,
                             m_settings.path.c_str(), m_settings.nameRoot.c_str()),
                      kLogDataAcquisition);
  } else {
    m_engine.BackupClock().Set(0, chosen.type);
    m_context.log.Log(kAutoSaveOff, kLogDataAcquisition);
  }
  // The type is the one automatic-backup choice kept between sessions.
  settings::Write(m_context.settings, settings::kBackupType, chosen.type);
}

bool CBackupCoordinator::RefuseWhileActive(int kind) const {
  if (kind == kJobKindSave ? !m_bSaveActive : !m_bCopyActive)
    return false;
  m_context.log.Log(kOperationInProgress, kLogOpcServer);
  return true;
}

bool CBackupCoordinator::SaveTo(const std::string& folder, const std::string& fileName,
                                char separator) {
  if (RefuseWhileActive(kJobKindSave))
    return false;
  const HistoricalDataList& history = m_engine.History();
  const int first =
      m_settings.type == kIncrementalBackup ? m_engine.BackupClock().NextRowToSave() : 0;
  const int type = settings::Read(m_context.settings, settings::kTagDisplayType);
  // While acquiring, an incremental backup leaves the rows still to be interpolated to
  // the next one: its file is never written again.
  const bool incremental = m_settings.type == kIncrementalBackup;
  const int end =
      incremental && m_engine.IsRunning() ? m_engine.SettledRowCount() : history.Count();
  m_saveJob.m_pRows = TakeAcquiredRows(history, m_engine.ItemHeadings(type), first, end);
  m_saveJob.m_sPath = folder;
  m_saveJob.m_sFileName = fileName;
  m_saveJob.m_sFullPath = BackupFullPath(folder, fileName);
  m_saveJob.m_cSeparator = separator;
  m_saveJob.m_nFirstRow = m_saveJob.m_pRows->firstRow;
  m_saveJob.m_nEndRow = m_saveJob.m_pRows->endRow;
  m_saveJob.m_nEpoch = m_engine.BackupClock().SaveEpoch();
  m_saveJob.ResetProgressSteps();
  m_bSaveActive = true;
  const std::string database = m_engine.DatabasePath();
  if (!m_saveWorker.Start(m_saveJob,
                          [this, database](CWorkerJob&) { RunBackupSave(m_saveJob, database); })) {
    // The job is failed already; the next poll reports it like any failure.
    return true;
  }
  m_pDisplay->OnJobStarted(kJobKindSave, kSaveCaption, kSaveProgressSteps, kSaving);
  return true;
}

std::string CBackupCoordinator::NextAutomaticName() {
  const std::string name = AutomaticBackupFileName(m_settings.nameRoot, m_context.clock.LocalNow());
  if (name != m_sLastAutomaticName) {
    m_sLastAutomaticName = name;
    m_nNameRepeats = 0;
    return name;
  }
  ++m_nNameRepeats;
  const size_t stem = name.size() - (sizeof(".csv") - 1);
  return name.substr(0, stem) + Format("_%d", m_nNameRepeats + 1) + name.substr(stem);
}

bool CBackupCoordinator::SaveAutomatic() {
  if (RefuseWhileActive(kJobKindSave))
    return false;
  return SaveTo(m_settings.path, NextAutomaticName(), m_settings.separator);
}

void CBackupCoordinator::OnBackup(bool /*final*/) {
  if (m_engine.BackupClock().IsAutomatic())
    SaveAutomatic();
}

bool CBackupCoordinator::CopyToClipboard() {
  if (RefuseWhileActive(kJobKindClipboard))
    return false;
  const HistoricalDataList& history = m_engine.History();
  const int type = settings::Read(m_context.settings, settings::kTagDisplayType);
  m_copyJob.m_pRows = TakeAcquiredRows(history, m_engine.ItemHeadings(type), 0, history.Count());
  m_copyJob.m_cSeparator = '\t';
  m_copyJob.m_nFirstRow = 0;
  m_copyJob.m_nEndRow = m_copyJob.m_pRows->endRow;
  m_copyJob.m_sText.clear();
  m_bCopyActive = true;
  if (!m_copyWorker.Start(m_copyJob, [this](CWorkerJob&) { RunClipboardCopy(m_copyJob); }))
    return true;
  m_pDisplay->OnJobStarted(kJobKindClipboard, kCopyCaption, m_copyJob.m_nEndRow, kCopying);
  return true;
}

void CBackupCoordinator::Poll() {
  if (m_bSaveActive)
    PollSave();
  if (m_bCopyActive)
    PollCopy();
}

void CBackupCoordinator::PollSave() {
  COPCDataJob& job = m_saveJob;
  const int32_t state = job.State();
  if (!IsFinalJobState(state)) {
    if (state == kJobSaving && job.TakeProgressChanged()) {
      m_pDisplay->OnJobProgress(kJobKindSave, std::min(job.ProgressSteps(), kSaveProgressSteps),
                                Format(kSaveProgress, job.Done(), job.m_nEndRow));
    }
    return;
  }
  m_saveWorker.Join();
  if (state == kJobFinished) {
    // Moved here, not by the worker: the acquisition thread owns the engine. A Start,
    // Resume or reset since the job began has made its rows someone else's.
    if (job.m_nEpoch == m_engine.BackupClock().SaveEpoch())
      m_engine.BackupClock().SetNextRowToSave(job.m_nEndRow);
    m_engine.ClearAcquiredData();
    ++m_nSavesDone;
    const std::string text = Format(kSaveDone, job.m_sFullPath.c_str(),
                                    job.m_nEndRow - job.m_nFirstRow, job.ElapsedMs());
    m_context.log.Log(text, kLogDataAcquisition);
    // A quick save ends before any tick saw it run: the bar still shows the whole of it.
    m_pDisplay->OnJobProgress(kJobKindSave, kSaveProgressSteps, text);
    m_pDisplay->OnJobEnded(kJobKindSave, text);
  } else {
    ++m_nSavesFailed;
    m_sLastFailedPath = job.m_sFullPath;
    const std::string text = Format(kSaveFailed, job.m_sFullPath.c_str());
    m_context.log.Log(text, kLogDataAcquisition);
    const std::string cause = job.ErrorCause();
    if (cause != kJobCauseNone)
      m_context.log.Log(cause, kLogDataAcquisition);
    m_pDisplay->OnJobEnded(kJobKindSave, text);
  }
  job.m_pRows.reset();  // the rows are the history's again
  m_bSaveActive = false;
}

void CBackupCoordinator::PollCopy() {
  COPCDataJob& job = m_copyJob;
  const int32_t state = job.State();
  if (!IsFinalJobState(state)) {
    if (state == kJobCopying && job.TakeProgressChanged()) {
      m_pDisplay->OnJobProgress(kJobKindClipboard, job.Done(),
                                Format(kCopyProgress, job.Done(), job.m_nEndRow));
    }
    return;
  }
  m_copyWorker.Join();
  bool copied = false;
  if (state == kJobFinished) {
    copied = m_pDisplay->SetClipboardText(job.m_sText);
  } else if (job.ErrorCode() == kCopyNoViewCode) {
    m_context.prompt.ShowMessage(kNullCopyView, MessageButtons::kOk, MessageIcon::kError);
  }
  std::string text;
  if (copied) {
    text = Format(kCopyDone, job.m_nEndRow - job.m_nFirstRow, job.ElapsedMs());
    m_pDisplay->OnJobProgress(kJobKindClipboard, job.m_nEndRow - job.m_nFirstRow, text);
  } else {
    text = kCopyFailed;
  }
  m_context.log.Log(text, kLogDataAcquisition);
  m_pDisplay->OnJobEnded(kJobKindClipboard, text);
  job.m_sText = std::string();
  job.m_pRows.reset();
  m_bCopyActive = false;
}

void CBackupCoordinator::WaitForWorkers() {
  m_saveWorker.Join();
  m_copyWorker.Join();
}
