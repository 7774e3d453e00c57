#include "acquisition/gui/backup_progress_display.h"

#include <QApplication>
#include <QClipboard>

#include "base/log.h"

CBackupProgressDisplay::CBackupProgressDisplay(QWidget* dialogParent)
    : QObject(dialogParent), m_pDialogParent(dialogParent) {}

QPointer<CThreadProgressDlg>& CBackupProgressDisplay::Dialog(int kind) {
  return kind == kJobKindSave ? m_pSaveDlg : m_pCopyDlg;
}

void CBackupProgressDisplay::CloseAll() {
  for (QPointer<CThreadProgressDlg>* dialog : {&m_pSaveDlg, &m_pCopyDlg}) {
    delete dialog->data();
    *dialog = nullptr;
  }
}

void CBackupProgressDisplay::OnJobStarted(int kind, const std::string& caption, int maximum,
                                          const std::string& text) {
  QPointer<CThreadProgressDlg>& dialog = Dialog(kind);
  if (!dialog.isNull()) {
    // The last job's dialog is still closing: the new job reports to the log only.
    if (m_pLog != nullptr)
      m_pLog->Log(kOperationInProgress, kLogOpcServer);
    return;
  }
  auto* created = new CThreadProgressDlg(kind, QString::fromStdString(caption), 0, maximum,
                                         QString::fromStdString(text), m_pDialogParent);
  dialog = created;
  connect(created, &CThreadProgressDlg::closed, this, [this, created](int closedKind) {
    QPointer<CThreadProgressDlg>& slot = Dialog(closedKind);
    if (slot == created)
      slot = nullptr;
    created->deleteLater();
  });
  created->show();
}

void CBackupProgressDisplay::OnJobProgress(int kind, int position, const std::string& text) {
  if (CThreadProgressDlg* dialog = Dialog(kind))
    dialog->SetProgress(position, QString::fromStdString(text));
}

void CBackupProgressDisplay::OnJobEnded(int kind, const std::string& finalText) {
  if (CThreadProgressDlg* dialog = Dialog(kind))
    dialog->Finish(QString::fromStdString(finalText));
}

bool CBackupProgressDisplay::SetClipboardText(const std::string& text) {
  QClipboard* clipboard = QApplication::clipboard();
  if (clipboard == nullptr)
    return false;
  clipboard->setText(QString::fromStdString(text));
  return true;
}
