#include "opc/gui/known_servers_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr char kTitle[] = "Known OPC Servers";
constexpr char kReadFailed[] = "The OPC Servers of the Recorded Acquisitions cannot be Read: %1";

}  // namespace

CKnownServersDlg::CKnownServersDlg(CSQLite& db, QWidget* parent)
    : QDialog(parent),
      m_db(db),
      m_pList(new QTableView(this)),
      m_pModel(new QStandardItemModel(0, 3, this)) {
  setWindowTitle(kTitle);
  m_pModel->setHorizontalHeaderLabels(
      {kKnownServerCaptions[0], kKnownServerCaptions[1], kKnownServerCaptions[2]});
  m_pList->setModel(m_pModel);
  m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pList->horizontalHeader()->setStretchLastSection(true);
  m_pList->horizontalHeader()->setSectionsClickable(true);
  m_pList->verticalHeader()->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pOk->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pList, 1);
  layout->addWidget(buttons);
  resize(640, 300);

  connect(m_pList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { m_pOk->setEnabled(current.isValid()); });
  connect(m_pList->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { Load(static_cast<KnownServerSort>(column)); });
  connect(m_pList, &QTableView::doubleClicked, this, [this] {
    TakeCurrentRow();
    accept();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    TakeCurrentRow();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool CKnownServersDlg::Load(KnownServerSort sort) {
  std::vector<KnownServer> rows;
  if (!ReadKnownServers(m_db, sort, rows)) {
    QMessageBox::warning(this, kTitle,
                         QString(kReadFailed).arg(QString::fromStdString(m_db.LastErrorText())));
    return false;
  }
  m_rows = std::move(rows);
  m_pModel->removeRows(0, m_pModel->rowCount());
  for (const KnownServer& row : m_rows) {
    m_pModel->appendRow({new QStandardItem(QString::fromStdString(row.m_sHost)),
                         new QStandardItem(QString::fromStdString(row.m_sServerId)),
                         new QStandardItem(QString::fromStdString(row.m_sGuidText))});
  }
  m_pList->resizeColumnsToContents();
  m_pOk->setEnabled(false);
  return true;
}

void CKnownServersDlg::TakeCurrentRow() {
  const int row = m_pList->currentIndex().row();
  if (row >= 0 && row < static_cast<int>(m_rows.size()))
    m_choice = m_rows[static_cast<size_t>(row)];
}
