#include "acquisition/gui/export_data_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "acquisition/backup_settings.h"
#include "acquisition/gui/backup_settings_dlg.h"
#include "acquisition/gui/separator_buttons.h"
#include "base/user_prompt.h"

namespace {
constexpr char kChooseFolder[] = "Export OPC Data Folder";
}  // namespace

CExportDataDlg::CExportDataDlg(const std::string& folder, IUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      m_prompt(prompt),
      m_pPath(new QLineEdit(QString::fromStdString(folder), this)),
      m_pBrowse(new QPushButton("...", this)),
      m_pName(new QLineEdit(this)),
      m_pSeparators(new CSeparatorButtons(this)),
      m_pSample(new QLabel(this)) {
  setWindowTitle(kExportDataTitle);
  m_pSample->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(m_pPath, 1);
  pathRow->addWidget(m_pBrowse);
  auto* form = new QFormLayout;
  form->addRow("File Path: ", pathRow);
  form->addRow("File Name: ", m_pName);
  form->addRow(m_pSeparators);
  form->addRow("Complete AutoSave Name Sample: ", m_pSample);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  m_pPath->setMinimumWidth(m_pPath->fontMetrics().averageCharWidth() * 48);

  connect(buttons, &QDialogButtonBox::accepted, this, &CExportDataDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CExportDataDlg::reject);
  connect(m_pName, &QLineEdit::textChanged, this, &CExportDataDlg::RefreshSample);
  connect(m_pBrowse, &QPushButton::clicked, this, [this] {
    const std::optional<std::string> chosen =
        m_prompt.ChooseFolder(kChooseFolder, m_pPath->text().toStdString());
    if (chosen)
      m_pPath->setText(QString::fromStdString(*chosen));
  });
  RefreshSample();
}

void CExportDataDlg::RefreshSample() {
  const std::string name = m_pName->text().toStdString();
  // The name the file is written under (no time is added to a name typed here).
  m_pSample->setText(name.empty() ? QString() : QString::fromStdString(AcceptedNameRoot(name)));
}

void CExportDataDlg::accept() {
  const std::string name = m_pName->text().toStdString();
  if (name.empty()) {
    // No file to write: the same refusal as the settings dialog's.
    m_prompt.ShowMessage(kEmptyFileName, MessageButtons::kOk, MessageIcon::kWarning);
    return;
  }
  m_sFolder = m_pPath->text().toStdString();
  m_sFileName = AcceptedNameRoot(name);
  m_cSeparator = m_pSeparators->Separator();
  QDialog::accept();
}
