#include "explorer/gui/prj_database_view.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "base/log_sink.h"
#include "db/gui/table_list_control.h"
#include "db/schema.h"
#include "db/sqlite_db.h"
#include "explorer/acquisition_catalogue.h"
#include "explorer/catalogue_statements.h"
#include "explorer/gui/explorer_session.h"

namespace {
constexpr char kTitle[] = "Velmora Projects";
constexpr char kDescription[] =
    "The acquisitions recorded in the Velmora database. Select one to view, chart or export "
    "its data, or delete it.";
constexpr char kSortBy[] = "Sort by:";
constexpr char kRows[] = "%1 Project(s)";
constexpr char kServerId[] = "Server Id";
constexpr char kHost[] = "OPC Server Host";
constexpr char kStart[] = "Acquisition Start";
constexpr char kEnd[] = "Acquisition End";
constexpr char kGroups[] = "OPC Groups";
constexpr char kAcquired[] = "Acquired Items";
constexpr char kCalculated[] = "Calculated Items";

// Rows every table keeps in sight: its header's height stands in as the row height's.
constexpr int kMinimumRows = 5;

void SetupTable(QTableView* table) {
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setShowGrid(true);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  // Compact rows, and room for five of them however small the window.
  const int rowHeight = table->fontMetrics().height() + 6;
  table->verticalHeader()->setDefaultSectionSize(rowHeight);
  table->setMinimumHeight(kMinimumRows * rowHeight + rowHeight + 8 +
                          table->horizontalScrollBar()->sizeHint().height() +
                          2 * table->frameWidth());
}
// The item list's "Data Type" column holds the stored code: shown with its name.
class CDataTypeDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QString displayText(const QVariant& value, const QLocale& locale) const override {
    bool ok = false;
    const int code = value.toString().toInt(&ok);
    return ok ? QString::fromStdString(VariantTypeLabel(code))
              : QStyledItemDelegate::displayText(value, locale);
  }
};
constexpr int kItemDataTypeColumn = 5;  // the last column of the item list statement

}  // namespace

CPrjDatabaseView::CPrjDatabaseView(IExplorerSession& session, QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pSession(&session),
      m_pSort(new QComboBox(this)),
      m_pCatalogue(new QTableView(this)),
      m_pItems(new QTableView(this)),
      m_pRowCount(new QLabel(this)) {
  for (const std::string& choice : CatalogueSortChoices())
    m_pSort->addItem(QString::fromStdString(choice));
  auto* sortRow = new QHBoxLayout;
  sortRow->addWidget(new QLabel(kSortBy, this));
  sortRow->addWidget(m_pSort);
  sortRow->addStretch(1);
  sortRow->addWidget(m_pRowCount);
  ContentLayout()->addLayout(sortRow);

  SetupTable(m_pCatalogue);
  SetupTable(m_pItems);
  m_pCatalogue->setModel(&m_catalogueModel);
  m_pItems->setModel(&m_itemModel);
  m_pItems->setItemDelegateForColumn(kItemDataTypeColumn, new CDataTypeDelegate(m_pItems));
  m_pCatalogueTarget = std::make_unique<CTableListControl>(m_catalogueModel, m_pCatalogue);
  m_pItemTarget = std::make_unique<CTableListControl>(m_itemModel, m_pItems);
  m_pCatalogue_ = std::make_unique<CAcquisitionCatalogue>(session.Database(), session.Context());
  m_pCatalogue_->SetTargets(m_pCatalogueTarget.get(), m_pItemTarget.get());

  // The details of the selection: its fields beside its item list.
  auto* detail = new QWidget(this);
  auto* detailLayout = new QHBoxLayout(detail);
  detailLayout->setContentsMargins(0, 0, 0, 0);
  auto* form = new QFormLayout;
  for (const char* label : {kServerId, kHost, kStart, kEnd, kGroups, kAcquired, kCalculated}) {
    auto* value = new QLabel(detail);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(label) + ":", value);
    m_details.emplace_back(label, value);
  }
  form->setFormAlignment(Qt::AlignTop);
  detailLayout->addLayout(form);
  detailLayout->addWidget(m_pItems, 1);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(m_pCatalogue);
  splitter->addWidget(detail);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);
  ContentLayout()->addWidget(splitter, 1);

  connect(m_pSort, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_pCatalogue_ != nullptr && !m_bFilling) {
      m_bFilling = true;
      m_pCatalogue_->SetSortChoice(index);
      m_bFilling = false;
      ShowSelection();
    }
  });
  connect(m_pCatalogue, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { ViewData(index.row()); });
  connect(m_pCatalogue->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!m_bFilling && current.isValid())
              OnRowSelected(current.row());
          });
}

CPrjDatabaseView::~CPrjDatabaseView() = default;

int CPrjDatabaseView::SelectedAcquisitionId() const {
  return m_pCatalogue_->SelectedAcquisitionId();
}

QLabel* CPrjDatabaseView::Detail(const char* label) const {
  for (const auto& [name, value] : m_details) {
    if (std::string(name) == label)
      return value;
  }
  return nullptr;
}

void CPrjDatabaseView::OnViewShown() {
  emit LogChannelWanted(kLogProjects);
  Refresh();
  m_pCatalogue->setFocus();
}

void CPrjDatabaseView::Refresh() {
  if (m_pCatalogue_ == nullptr)
    return;
  m_bFilling = true;
  m_pCatalogue_->Refresh();
  m_bFilling = false;
  ShowSelection();
}

void CPrjDatabaseView::OnRowSelected(int row) {
  m_bFilling = true;
  m_pCatalogue_->SelectRow(row);
  m_bFilling = false;
  ShowSelection();
  m_pCatalogue->setFocus();
}

void CPrjDatabaseView::ViewData(int row) {
  if (m_pCatalogue_ == nullptr)
    return;
  m_bFilling = true;
  const int id = m_pCatalogue_->ViewData(row);
  m_bFilling = false;
  ShowSelection();
  if (id != kNoAcquisition)
    emit ViewProjectDataRequested(id);
}

void CPrjDatabaseView::DeleteSelected() {
  if (m_pCatalogue_ == nullptr)
    return;
  const int running = m_pSession->RecordingAcquisitionId();
  m_bFilling = true;
  m_pCatalogue_->Delete(running);
  m_bFilling = false;
  ShowSelection();
}

void CPrjDatabaseView::ShowSelection() {
  m_pRowCount->setText(
      QString(kRows).arg(m_pCatalogue_ != nullptr ? m_pCatalogue_->RowCount() : 0));
  ShowDetails();
  const int row = m_pCatalogue_ != nullptr ? m_pCatalogue_->SelectedRow() : -1;
  if (row >= 0 && row < (m_pCatalogue_ != nullptr ? m_pCatalogue_->RowCount() : 0)) {
    m_bFilling = true;
    const QModelIndex index = m_catalogueModel.index(row, 0);
    m_pCatalogue->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_bFilling = false;
  }
  emit CommandStatesChanged();
}

void CPrjDatabaseView::ShowDetails() {
  const bool selected = m_pCatalogue_ != nullptr && SelectedAcquisitionId() != kNoAcquisition;
  const CatalogueDetails details = selected ? m_pCatalogue_->Details() : CatalogueDetails();
  auto set = [this](const char* label, const QString& text) {
    if (QLabel* value = Detail(label))
      value->setText(text);
  };
  set(kServerId, QString::fromStdString(details.serverId));
  set(kHost, QString::fromStdString(details.host));
  set(kStart, QString::fromStdString(details.start));
  set(kEnd, QString::fromStdString(details.end));
  set(kGroups, selected ? QString::number(details.groups) : QString());
  set(kAcquired, selected ? QString::number(details.acquiredItems) : QString());
  set(kCalculated, selected ? QString::number(details.calculatedItems) : QString());
  if (!selected)
    m_itemModel.clear();
}

std::vector<CommandId> CPrjDatabaseView::Commands() const {
  return {CommandId::kDeleteProject, CommandId::kViewProjectData};
}

void CPrjDatabaseView::OnCommand(CommandId id) {
  if (id == CommandId::kDeleteProject)
    DeleteSelected();
  else if (id == CommandId::kViewProjectData)
    ViewData(m_pCatalogue_ != nullptr ? m_pCatalogue_->SelectedRow() : -1);
}

ViewCommandState CPrjDatabaseView::CommandState(CommandId id) const {
  ViewCommandState state;
  state.enabled = m_pCatalogue_ != nullptr;
  if (id == CommandId::kDeleteProject)
    state.enabled = state.enabled && SelectedAcquisitionId() != kNoAcquisition;
  return state;
}
