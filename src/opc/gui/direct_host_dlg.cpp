#include "opc/gui/direct_host_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "opc/opc_server.h"

namespace {

constexpr char kHostLabel[] = "OPC Server Host: ";
constexpr char kEnumerateText[] = "Enumerate OPC Servers";

}  // namespace

CDirectHostDlg::CDirectHostDlg(AppContext& context, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_pHost(new QLineEdit(QString::fromUtf8(kLocalHost), this)),
      m_pEnumerate(new QPushButton(kEnumerateText, this)),
      m_pList(new QTableView(this)),
      m_pModel(new QStandardItemModel(0, 2, this)) {
  setWindowTitle(kDirectHostTitle);
  m_pModel->setHorizontalHeaderLabels({kDirectHostProgIdColumn, kDirectHostGuidColumn});
  m_pList->setModel(m_pModel);
  m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pList->horizontalHeader()->setStretchLastSection(true);
  m_pList->verticalHeader()->hide();

  auto* form = new QFormLayout;
  form->addRow(kHostLabel, m_pHost);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pOk->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_pEnumerate);
  layout->addWidget(m_pList, 1);
  layout->addWidget(buttons);
  resize(780, 320);

  m_pEnumerate->setDefault(true);
  connect(m_pEnumerate, &QPushButton::clicked, this, &CDirectHostDlg::Enumerate);
  connect(m_pHost, &QLineEdit::returnPressed, this, &CDirectHostDlg::Enumerate);
  connect(m_pHost, &QLineEdit::textChanged, this, [this] {
    m_pOk->setEnabled(false);  // the list is of the host it was enumerated for
    m_pEnumerate->setEnabled(!m_pHost->text().trimmed().isEmpty());
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CDirectHostDlg::Enumerate() {
  const std::string host = m_pHost->text().trimmed().toStdString();
  if (host.empty())
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::vector<DirectHostRow> rows;
  const bool found = EnumerateDirectHost(m_context, host, rows);
  QApplication::restoreOverrideCursor();
  m_pModel->removeRows(0, m_pModel->rowCount());
  for (const DirectHostRow& row : rows) {
    m_pModel->appendRow({new QStandardItem(QString::fromStdString(row.m_sProgIdLabel)),
                         new QStandardItem(QString::fromStdString(row.m_sGuidText))});
  }
  m_pList->resizeColumnToContents(0);
  m_choice.m_sHost = host;
  m_choice.m_servers = found ? rows : std::vector<DirectHostRow>();
  m_pOk->setEnabled(found && !rows.empty());
}
