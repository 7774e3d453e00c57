#include "acquisition/gui/backup_settings_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "acquisition/gui/separator_buttons.h"
#include "base/clock.h"
#include "base/user_prompt.h"

namespace {
constexpr char kChooseFolder[] = "Backup OPC Data Folder";
constexpr char kForwardToHint[] = "postgresql://user@host/database (empty: off)";
}  // namespace

CBackupSettingsDlg::CBackupSettingsDlg(const BackupSettings& initial, const IClock& clock,
                                       IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      m_clock(clock),
      m_prompt(prompt),
      m_chosen(initial),
      m_pFrequency(new QComboBox(this)),
      m_pType(new QComboBox(this)),
      m_pPath(new QLineEdit(QString::fromStdString(initial.path), this)),
      m_pBrowse(new QPushButton("...", this)),
      m_pRoot(new QLineEdit(QString::fromStdString(initial.nameRoot), this)),
      m_pSeparators(new CSeparatorButtons(this)),
      m_pSample(new QLabel(this)),
      m_pForwardTo(new QLineEdit(this)) {
  setWindowTitle(kBackupSettingsTitle);
  for (const BackupFrequencyChoice& choice : kBackupFrequencies)
    m_pFrequency->addItem(choice.entry);
  m_pFrequency->setCurrentIndex(BackupFrequencyIndex(initial.frequency));
  m_pType->addItem(BackupTypeText(kFullBackup));
  m_pType->addItem(BackupTypeText(kIncrementalBackup));
  m_pType->setCurrentIndex(initial.type == kFullBackup ? 0 : 1);
  m_pSample->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(m_pPath, 1);
  pathRow->addWidget(m_pBrowse);
  auto* form = new QFormLayout;
  form->addRow("Frequency of Automatic OPC Data Backup: ", m_pFrequency);
  form->addRow("Type of Automatic OPC Data backup: ", m_pType);
  form->addRow("File Path: ", pathRow);
  form->addRow("File Name Root: ", m_pRoot);
  form->addRow(m_pSeparators);
  form->addRow("Complete AutoSave Name Sample: ", m_pSample);
  m_pForwardTo->setPlaceholderText(kForwardToHint);
  form->addRow("Forward Recorded Data to PostgreSQL: ", m_pForwardTo);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  m_pPath->setMinimumWidth(m_pPath->fontMetrics().averageCharWidth() * 48);

  connect(buttons, &QDialogButtonBox::accepted, this, &CBackupSettingsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CBackupSettingsDlg::reject);
  connect(m_pRoot, &QLineEdit::textChanged, this, &CBackupSettingsDlg::RefreshSample);
  connect(m_pBrowse, &QPushButton::clicked, this, &CBackupSettingsDlg::Browse);
  RefreshSample();
}

void CBackupSettingsDlg::RefreshSample() {
  m_pSample->setText(QString::fromStdString(
      AutoSaveNameSample(m_pRoot->text().toStdString(), m_clock.LocalNow())));
}

void CBackupSettingsDlg::Browse() {
  const std::optional<std::string> folder =
      m_prompt.ChooseFolder(kChooseFolder, m_pPath->text().toStdString());
  if (folder)
    m_pPath->setText(QString::fromStdString(*folder));
}

void CBackupSettingsDlg::SetForwardTo(const std::string& url) {
  m_pForwardTo->setText(QString::fromStdString(url));
}

std::string CBackupSettingsDlg::ForwardTo() const {
  return m_pForwardTo->text().trimmed().toStdString();
}

void CBackupSettingsDlg::accept() {
  const std::string root = m_pRoot->text().toStdString();
  if (root.empty()) {
    m_prompt.ShowMessage(kEmptyFileName, MessageButtons::kOk, MessageIcon::kWarning);
    return;
  }
  m_chosen.frequency = BackupFrequencyMinutes(m_pFrequency->currentIndex());
  m_chosen.type = m_pType->currentIndex() == 0 ? kFullBackup : kIncrementalBackup;
  m_chosen.path = m_pPath->text().toStdString();
  m_chosen.nameRoot = AcceptedNameRoot(root);
  m_chosen.separator = m_pSeparators->Separator();
  QDialog::accept();
}
