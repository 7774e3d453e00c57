#include "app/gui/qt_user_prompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/gui/velmora_msg_dlg.h"
#include "base/report.h"

QString QtNameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    filters << QString("%1 (%2)").arg(parts[i], patterns);
  }
  return filters.join(";;");
}

int CQtUserPrompt::ShowReport(const ReportRequest& request) {
  CVelmoraMsgDlg dialog(request, m_pParent);
  return dialog.Show();
}

MessageAnswer CQtUserPrompt::ShowMessage(const std::string& text, MessageButtons buttons,
                                         MessageIcon icon, const std::string& caption) {
  QMessageBox box(m_pParent);
  box.setWindowTitle(QString::fromStdString(caption.empty() ? kProductName : caption));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case MessageButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MessageButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case MessageButtons::RetryCancel:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Retry:
      return MessageAnswer::Retry;
    default:
      // The close box: No for a yes/no question, Cancel otherwise.
      return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
  }
}

std::optional<std::string> CQtUserPrompt::ChooseFile(const FileRequest& request) {
  QFileDialog dialog(m_pParent, QString::fromStdString(request.title),
                     QString::fromStdString(request.initialPath), QtNameFilters(request.filter));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!request.save && request.mustExist ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
  QString suffix = QString::fromStdString(request.defaultExtension);
  if (suffix.startsWith('.'))
    suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> CQtUserPrompt::ChooseFolder(const std::string& title,
                                                       const std::string& initialFolder) {
  const QString folder = QFileDialog::getExistingDirectory(m_pParent, QString::fromStdString(title),
                                                           QString::fromStdString(initialFolder));
  if (folder.isEmpty())
    return std::nullopt;
  return folder.toStdString();
}
