#pragma once
// CBackupCoordinator: the backup files and the clipboard copy of the acquisition view.
// It keeps the backup settings, starts the save and copy workers (one of each kind at a
// time), runs the automatic backups the engine asks for (OnBackup), and on every tick
// reports the workers' progress and end to the log and to the progress display. The
// workers get the rows taken from the history before they start and write only their
// job record; the next row to save and the acquired-data flag are moved here, on the
// acquisition thread, when a save is reported done.
// Thread rule: acquisition (GUI) thread, like the engine.
#include <cstdint>
#include <string>

#include "acquisition/backup_settings.h"
#include "acquisition/opc_data_job.h"
#include "base/app_context.h"
#include "base/worker_job.h"

class CAcquisitionEngine;

inline constexpr char kOperationInProgress[] =
    "Operation Already in Progress !!! Please Retry Later ...";
inline constexpr char kSaveCaption[] = "Saving Acquired OPC Data";
inline constexpr char kCopyCaption[] = "Copying Acquired OPC Data to Clipboard";
// The save's progress bar counts 5 % steps.
inline constexpr int kSaveProgressSteps = 20;

// What the user sees of a running job (the progress dialogs) and the clipboard. Every
// method is optional; without a display the log still tells everything.
class IBackupDisplay {
 public:
  virtual ~IBackupDisplay() = default;
  // A job of that kind started: its dialog with caption, bar range 0..maximum, first text.
  virtual void OnJobStarted(int /*kind*/, const std::string& /*caption*/, int /*maximum*/,
                            const std::string& /*text*/) {}
  virtual void OnJobProgress(int /*kind*/, int /*position*/, const std::string& /*text*/) {}
  // The job ended: the final text is shown, then the dialog closes.
  virtual void OnJobEnded(int /*kind*/, const std::string& /*finalText*/) {}
  // The text of a finished copy; false when the clipboard did not take it.
  virtual bool SetClipboardText(const std::string& /*text*/) { return false; }
};

class CBackupCoordinator {
 public:
  CBackupCoordinator(AppContext& context, CAcquisitionEngine& engine);
  // Waits for running workers: their records live here.
  ~CBackupCoordinator();
  CBackupCoordinator(const CBackupCoordinator&) = delete;
  CBackupCoordinator& operator=(const CBackupCoordinator&) = delete;

  void SetDisplay(IBackupDisplay* display) { m_pDisplay = display; }

  // The settings; the frequency is the engine's (the view reset switches it off).
  BackupSettings Settings() const;
  // Settings taken without the dialog's rules (start-up, the command line).
  void SetSettings(const BackupSettings& settings);
  // The settings dialog's OK: an automatic backup gets a folder (the database's when
  // empty) and a bare name root, the engine its schedule, and the log its line.
  void ApplySettings(const BackupSettings& chosen);
  // The folder of the database file (where backups go when no folder is set).
  std::string DatabaseFolder() const;

  // True from the start of a job until its end has been reported.
  bool IsSaving() const { return m_bSaveActive; }
  bool IsCopying() const { return m_bCopyActive; }
  // Logs the refusal and returns true when a job of that kind is still active.
  bool RefuseWhileActive(int kind) const;

  // Saves rows to folder/fileName with the separator: the incremental backup type starts
  // at the next row to save, the full type at the first row. False when refused.
  bool SaveTo(const std::string& folder, const std::string& fileName, char separator);
  // A save with the automatic name: name root + the time + ".csv" in the settings' folder.
  bool SaveAutomatic();
  // Copies every data set to the clipboard. False when refused.
  bool CopyToClipboard();

  // The engine's backup hook: an automatic or final backup with the automatic settings.
  void OnBackup(bool final);
  // The tick: progress and end of both jobs.
  void Poll();
  // Waits until the running workers have ended (the command line, between backups).
  void WaitForWorkers();

  // What the saves did, over the coordinator's life.
  int SavesDone() const { return m_nSavesDone; }
  int SavesFailed() const { return m_nSavesFailed; }
  const std::string& LastSavePath() const { return m_saveJob.m_sFullPath; }
  // The file of the last save that failed (empty while none has): a later successful
  // save must not stand in for it in a summary.
  const std::string& LastFailedSavePath() const { return m_sLastFailedPath; }
  const COPCDataJob& SaveJob() const { return m_saveJob; }
  const COPCDataJob& CopyJob() const { return m_copyJob; }

 private:
  void PollSave();
  void PollCopy();
  // An automatic name not used yet by this coordinator (a final backup in the same
  // second as the last automatic one must not overwrite it).
  std::string NextAutomaticName();

  AppContext& m_context;
  CAcquisitionEngine& m_engine;
  IBackupDisplay* m_pDisplay = nullptr;
  IBackupDisplay m_noDisplay;
  BackupSettings m_settings;
  std::string m_sLastAutomaticName;
  std::string m_sLastFailedPath;
  int m_nNameRepeats = 0;
  int m_nSavesDone = 0;
  int m_nSavesFailed = 0;
  bool m_bSaveActive = false;
  bool m_bCopyActive = false;
  // The records outlive their workers (declared first, destroyed last).
  COPCDataJob m_saveJob{kJobKindSave};
  COPCDataJob m_copyJob{kJobKindClipboard};
  CWorker m_saveWorker;
  CWorker m_copyWorker;
};
