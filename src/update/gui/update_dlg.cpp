#include "update/gui/update_dlg.h"

#include <QCheckBox>
#include <QCommandLinkButton>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "update/version_info.h"

const char* UpdateMessage(const CUpdateCheck& check) {
  if (check.RemoteHigh() == 0 && check.RemoteLow() == 0)
    return "";
  return check.Status() == kUpdateLatest ? kLatestVersionMessage : kNewVersionMessage;
}

CUpdateDlg::CUpdateDlg(const CUpdateCheck& check, bool noUpdateCheck, QWidget* parent)
    : QDialog(parent),
      m_pLocal(new QLabel(QString::fromStdString(check.LocalVersionText()), this)),
      m_pLatest(new QLabel(QString::fromStdString(check.RemoteVersionText()), this)),
      m_pMessage(new QLabel(UpdateMessage(check), this)),
      m_pRemoteText(new QLabel(QString::fromStdString(check.RemoteText()), this)),
      m_pLink(new QCommandLinkButton("Velmora OPC Explorer Download Page",
                                     QString(kDownloadPageUrl), this)),
      m_pNoCheck(new QCheckBox(kNoUpdateCheckChoice, this)) {
  setWindowTitle(kUpdateDialogTitle);
  m_pMessage->setWordWrap(true);
  m_pRemoteText->setWordWrap(true);
  // The remote text is shown as it stands: a page of markup must not be rendered.
  m_pRemoteText->setTextFormat(Qt::PlainText);
  m_pNoCheck->setChecked(noUpdateCheck);
  QFont bold = m_pLatest->font();
  bold.setBold(true);
  m_pLocal->setFont(bold);
  m_pLatest->setFont(bold);

  auto* versions = new QFormLayout;
  versions->addRow("Local Version: ", m_pLocal);
  versions->addRow("Latest Version on the Web: ", m_pLatest);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(versions);
  layout->addWidget(m_pMessage);
  layout->addWidget(m_pRemoteText);
  layout->addWidget(m_pLink);
  layout->addStretch(1);
  layout->addWidget(m_pNoCheck);
  layout->addWidget(buttons);
  resize(520, 0);

  connect(m_pLink, &QCommandLinkButton::clicked, this,
          [] { QDesktopServices::openUrl(QUrl(QString(kDownloadPageUrl))); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

bool CUpdateDlg::DoNotCheck() const {
  return m_pNoCheck->isChecked();
}
