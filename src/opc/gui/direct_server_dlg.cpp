#include "opc/gui/direct_server_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "opc/gui/known_servers_dlg.h"

namespace {

constexpr char kHostLabel[] = "OPC Server Host: ";
constexpr char kServerIdLabel[] = "OPC Server Id: ";
constexpr char kClassIdLabel[] = "OPC Server GUID (CLSID): ";
constexpr char kKnownText[] = "Known OPC Servers...";

}  // namespace

CDirectServerDlg::CDirectServerDlg(CSQLite* db, QWidget* parent)
    : QDialog(parent),
      m_pDb(db),
      m_pHost(new QLineEdit(this)),
      m_pServerId(new QLineEdit(this)),
      m_pClassId(new QLineEdit(this)),
      m_pKnown(new QPushButton(kKnownText, this)) {
  setWindowTitle(kDirectServerTitle);
  m_pClassId->setPlaceholderText("xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx");
  auto* form = new QFormLayout;
  form->addRow(kHostLabel, m_pHost);
  form->addRow(kServerIdLabel, m_pServerId);
  form->addRow(kClassIdLabel, m_pClassId);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pOk->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_pKnown, 0, Qt::AlignLeft);
  layout->addWidget(buttons);
  resize(520, 0);
  m_pKnown->setVisible(db != nullptr);

  for (QLineEdit* field : {m_pHost, m_pServerId, m_pClassId})
    connect(field, &QLineEdit::textChanged, this, &CDirectServerDlg::RefreshOk);
  connect(m_pKnown, &QPushButton::clicked, this, &CDirectServerDlg::ShowKnownServers);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

DirectServerChoice CDirectServerDlg::Choice() const {
  DirectServerChoice choice;
  choice.m_sHost = m_pHost->text().trimmed().toStdString();
  choice.m_sServerId = m_pServerId->text().trimmed().toStdString();
  choice.m_sClassIdText = m_pClassId->text().trimmed().toStdString();
  return choice;
}

void CDirectServerDlg::RefreshOk() {
  m_pOk->setEnabled(DirectServerOkEnabled(Choice()));
}

void CDirectServerDlg::ShowKnownServers() {
  CKnownServersDlg dialog(*m_pDb, this);
  if (!dialog.Load(KnownServerSort::kHost) || dialog.exec() != QDialog::Accepted)
    return;
  const KnownServer& server = dialog.Choice();
  m_pHost->setText(QString::fromStdString(server.m_sHost));
  m_pServerId->setText(QString::fromStdString(server.m_sServerId));
  m_pClassId->setText(QString::fromStdString(server.m_sGuidText));
}
