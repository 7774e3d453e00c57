#include "db/gui/get_project_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "db/gui/project_table.h"
#include "db/gui/table_list_control.h"

namespace {

constexpr char kTitle[] = "Load Velmora Project";
constexpr char kSortLabel[] = "Sort Projects by:";
constexpr char kProjectsLabel[] = "Projects in Velmora Database:";
constexpr char kGroupsLabel[] = "OPC Groups of the Project:";
constexpr char kItemsLabel[] = "OPC Items of the Project:";
constexpr char kNoProjectChosen[] = "No Project Selected";
constexpr char kCountsFormat[] = "Projects: %1    OPC Groups: %2    OPC Items: %3";

// A labelled list as one pane of the splitter.
QWidget* Pane(const char* label, QTableView* view, QWidget* parent) {
  auto* pane = new QWidget(parent);
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(label, pane));
  layout->addWidget(view, 1);
  return pane;
}

}  // namespace

CGetProjectDlg::CGetProjectDlg(CSQLite& db, QWidget* parent)
    : QDialog(parent),
      m_presenter(db),
      m_pProjects(new QTableView),
      m_pGroups(new QTableView),
      m_pItems(new QTableView),
      m_pSort(new QComboBox(this)),
      m_pName(new QLabel(kNoProjectChosen, this)),
      m_pCounts(new QLabel(this)),
      m_pSplitter(new QSplitter(Qt::Vertical, this)),
      m_pOk(nullptr) {
  setWindowTitle(kTitle);
  resize(820, 620);
  SetUpProjectTable(*m_pProjects, m_projectModel);
  SetUpProjectTable(*m_pGroups, m_groupModel);
  SetUpProjectTable(*m_pItems, m_itemModel);
  m_pSplitter->addWidget(Pane(kProjectsLabel, m_pProjects, m_pSplitter));
  m_pSplitter->addWidget(Pane(kGroupsLabel, m_pGroups, m_pSplitter));
  m_pSplitter->addWidget(Pane(kItemsLabel, m_pItems, m_pSplitter));
  m_pSplitter->setChildrenCollapsible(false);

  for (const std::string& choice : ProjectSortChoices())
    m_pSort->addItem(QString::fromStdString(choice));
  m_pSort->setCurrentIndex(kSortByName);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pOk->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    if (m_presenter.OkEnabled())
      QDialog::accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &CGetProjectDlg::reject);

  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(new QLabel(kSortLabel, this));
  sortRow->addWidget(m_pSort);
  sortRow->addStretch(1);
  sortRow->addWidget(m_pName);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sortRow);
  layout->addWidget(m_pSplitter, 1);
  layout->addWidget(m_pCounts);
  layout->addWidget(buttons);

  FillProjects(kSortByName);
  connect(m_pSort, &QComboBox::currentIndexChanged, this, &CGetProjectDlg::FillProjects);
  connect(m_pProjects, &QTableView::doubleClicked, this, [this] {
    if (m_presenter.OkEnabled())
      QDialog::accept();
  });
}

void CGetProjectDlg::FillProjects(int sortIndex) {
  CTableListControl list(m_projectModel, m_pProjects);
  m_presenter.FillProjects(&list, sortIndex);
  // Filling the model replaced the selection model's contents: listen again.
  connect(m_pProjects->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CGetProjectDlg::OnProjectSelected, Qt::UniqueConnection);
  // The chosen project stays selected in its new place.
  const int row =
      m_presenter.OkEnabled() ? m_presenter.RowOfProject(m_presenter.Choice().m_nId) : -1;
  if (row >= 0)
    m_pProjects->selectRow(row);
  m_pCounts->setText(QString(kCountsFormat)
                         .arg(m_presenter.ProjectCount())
                         .arg(m_presenter.GroupCount())
                         .arg(m_presenter.ItemCount()));
}

void CGetProjectDlg::OnProjectSelected() {
  const QModelIndexList rows = m_pProjects->selectionModel()->selectedRows();
  if (rows.isEmpty())
    return;
  CTableListControl groups(m_groupModel, m_pGroups);
  CTableListControl items(m_itemModel, m_pItems);
  if (m_presenter.SelectRow(rows.front().row(), &groups, &items)) {
    m_pName->setText(QString::fromStdString(m_presenter.Choice().m_sName));
    m_pCounts->setText(QString(kCountsFormat)
                           .arg(m_presenter.ProjectCount())
                           .arg(m_presenter.GroupCount())
                           .arg(m_presenter.ItemCount()));
  }
  m_pOk->setEnabled(m_presenter.OkEnabled());
}
