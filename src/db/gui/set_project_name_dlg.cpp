#include "db/gui/set_project_name_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "db/gui/project_table.h"
#include "db/gui/table_list_control.h"

namespace {

constexpr char kTitle[] = "Save Velmora Project";
constexpr char kNameLabel[] = "Project Name:";
constexpr char kListLabel[] = "Projects in Velmora Database:";
constexpr char kCountFormat[] = "Number of Projects: %1";

}  // namespace

CSetProjectNameDlg::CSetProjectNameDlg(CSQLite& db, IUserPrompt& prompt,
                                       const std::string& currentName, QWidget* parent)
    : QDialog(parent),
      m_presenter(db, prompt, currentName),
      m_pNameEdit(new QLineEdit(this)),
      m_pList(new QTableView(this)),
      m_pCount(new QLabel(this)),
      m_pOk(nullptr) {
  setWindowTitle(kTitle);
  resize(640, 400);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &CSetProjectNameDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSetProjectNameDlg::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(kNameLabel, this));
  layout->addWidget(m_pNameEdit);
  layout->addWidget(new QLabel(kListLabel, this));
  layout->addWidget(m_pList, 1);
  layout->addWidget(m_pCount);
  layout->addWidget(buttons);

  SetUpProjectTable(*m_pList, m_model);
  CTableListControl list(m_model, m_pList);
  const int count = m_presenter.FillList(&list);
  m_pCount->setText(QString(kCountFormat).arg(count));
  m_pNameEdit->setText(QString::fromStdString(currentName));
  m_pOk->setEnabled(m_presenter.OkEnabled());

  // A selection is picked up a moment later, once the list has settled.
  m_selectionTimer.setSingleShot(true);
  m_selectionTimer.setInterval(kProjectSelectionDelayMs);
  connect(&m_selectionTimer, &QTimer::timeout, this, &CSetProjectNameDlg::CopySelectedName);
  connect(m_pList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { m_selectionTimer.start(); });
  connect(m_pList, &QTableView::clicked, this, [this] { m_selectionTimer.start(); });
  connect(m_pList, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    const std::string name = m_presenter.RowName(index.row());
    if (name.empty())
      return;
    m_pNameEdit->setText(QString::fromStdString(name));
    accept();
  });
  connect(m_pNameEdit, &QLineEdit::textChanged, this, &CSetProjectNameDlg::OnTextChanged);

  const int row = m_presenter.CurrentRow();
  if (row >= 0) {
    m_pList->selectRow(row);
    m_pList->setFocus();
  } else {
    m_pNameEdit->setFocus();
  }
}

void CSetProjectNameDlg::OnTextChanged(const QString& text) {
  m_presenter.TextChanged(text.toStdString());
  m_pOk->setEnabled(m_presenter.OkEnabled());
}

void CSetProjectNameDlg::CopySelectedName() {
  const QModelIndexList rows = m_pList->selectionModel()->selectedRows();
  if (rows.isEmpty())
    return;
  const std::string name = m_presenter.RowName(rows.front().row());
  if (!name.empty())
    m_pNameEdit->setText(QString::fromStdString(name));
}

void CSetProjectNameDlg::accept() {
  if (m_presenter.Confirm(m_pNameEdit->text().toStdString()))
    QDialog::accept();
}
