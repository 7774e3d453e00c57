#pragma once
// CBackupProgressDisplay: what the user sees of the acquisition view's backup and copy
// jobs: one modeless progress dialog per kind of job (save, clipboard), shown while the
// job runs and closed after its end, and the clipboard that takes a finished copy.
// Thread rule: GUI thread only (the coordinator calls it from the base tick).
#include <QObject>
#include <QPointer>

#include "acquisition/backup_coordinator.h"
#include "ui/thread_progress_dlg.h"

class CLog;

class CBackupProgressDisplay : public QObject, public IBackupDisplay {
  Q_OBJECT
 public:
  // The dialogs are children of dialogParent.
  explicit CBackupProgressDisplay(QWidget* dialogParent);
  // The log that hears of a job refused while the last one's dialog is still closing.
  void SetLog(CLog* log) { m_pLog = log; }

  CThreadProgressDlg* SaveDialog() const { return m_pSaveDlg; }
  CThreadProgressDlg* CopyDialog() const { return m_pCopyDlg; }
  // Closes both dialogs at once (the view lets its engine go).
  void CloseAll();

  void OnJobStarted(int kind, const std::string& caption, int maximum,
                    const std::string& text) override;
  void OnJobProgress(int kind, int position, const std::string& text) override;
  void OnJobEnded(int kind, const std::string& finalText) override;
  bool SetClipboardText(const std::string& text) override;

 private:
  QPointer<CThreadProgressDlg>& Dialog(int kind);

  QWidget* m_pDialogParent;
  CLog* m_pLog = nullptr;
  QPointer<CThreadProgressDlg> m_pSaveDlg;
  QPointer<CThreadProgressDlg> m_pCopyDlg;
};
