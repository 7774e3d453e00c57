#include "app/gui/qt_user_prompt.h"

#include <QFileDialog>
#include <QFileInfo>
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

ReportAnswer CQtUserPrompt::ShowReport(const ReportRequest& request) {
  CVelmoraMsgDlg dialog(request, m_pParent);
  return static_cast<ReportAnswer>(dialog.Show());  // 1, 2 or (Yes/No/Cancel) 3
}

MessageAnswer CQtUserPrompt::ShowMessage(const std::string& text, MessageButtons buttons,
                                         MessageIcon icon, const std::string& caption) {
  QMessageBox box(m_pParent);
  box.setWindowTitle(QString::fromStdString(caption.empty() ? kProductName : caption));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case MessageIcon::kNone:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::kWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::kError:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::kQuestion:
      box.setIcon(QMessageBox::Question);
      break;
  }
  switch (buttons) {
    case MessageButtons::kOk:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MessageButtons::kOkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MessageButtons::kYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MessageButtons::kYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case MessageButtons::kRetryCancel:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return MessageAnswer::kOk;
    case QMessageBox::Yes:
      return MessageAnswer::kYes;
    case QMessageBox::No:
      return MessageAnswer::kNo;
    case QMessageBox::Retry:
      return MessageAnswer::kRetry;
    default:
      // The close box: No for a yes/no question, Cancel otherwise.
      return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kCancel;
  }
}

namespace {

// A proposed file whose folder does not exist yet: the dialog opens in the nearest folder
// that does, with the rest of the path as the name, so that accepting it gives the
// proposed path (the caller makes the missing folders).
void ProposePath(QFileDialog& dialog, const QString& initialPath) {
  const QFileInfo proposed(initialPath);
  if (initialPath.isEmpty() || proposed.isDir()) {
    if (!initialPath.isEmpty())
      dialog.setDirectory(initialPath);
    return;
  }
  if (proposed.isRelative() && proposed.path() == ".") {
    dialog.selectFile(initialPath);  // only a name: in the dialog's usual folder
    return;
  }
  QString folder = proposed.absolutePath();
  QString name = proposed.fileName();
  while (!QFileInfo(folder).isDir()) {
    const QFileInfo missing(folder);
    const QString parent = missing.absolutePath();
    if (parent == folder)
      break;
    name = missing.fileName() + '/' + name;
    folder = parent;
  }
  dialog.setDirectory(folder);
  dialog.selectFile(name);
}

// The dialog for request: open or save, whether a new name is accepted, the default
// suffix and the proposed file.
void SetUpFileDialog(QFileDialog& dialog, const FileRequest& request) {
  dialog.setWindowTitle(QString::fromStdString(request.title));
  dialog.setNameFilter(QtNameFilters(request.filter));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!request.save && request.mustExist ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  QString suffix = QString::fromStdString(request.defaultExtension);
  if (suffix.startsWith('.'))
    suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  ProposePath(dialog, QString::fromStdString(request.initialPath));
}

}  // namespace

std::optional<std::string> CQtUserPrompt::ChooseFile(const FileRequest& request) {
  QFileDialog dialog(m_pParent);
  SetUpFileDialog(dialog, request);
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
