#include "opc/gui/add_item_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "base/log.h"
#include "opc/add_item_filters.h"
#include "opc/gui/add_item_models.h"
#include "opc/gui/short_id_dlg.h"
#include "opc/item_list_file.h"

namespace {

constexpr char kLeavesTab[] = "Branch Leaves";
constexpr char kLeafColumn[] = "Tag";
constexpr char kFoundColumn[] = "Qualified Tag";
constexpr char kFoundTab[] = "Search Results";
constexpr char kFilterLabel[] = "Filter: ";
constexpr char kTypeCaption[] = "Data Type: %1";
constexpr char kAccessCaption[] = "Access: %1";
constexpr char kSearchLabel[] = "Find: ";
constexpr char kSearchText[] = "Find";
constexpr char kStopText[] = "Stop";
constexpr char kSearchProgress[] = "%1 found in %2 branches ...";
constexpr char kSearchDone[] = "%1 found in %2 branches";
constexpr char kSearchStopped[] = "Stopped: %1 found in %2 branches";
constexpr char kTypedLabel[] = "Item Id: ";
constexpr char kAddText[] = "Add >>";
constexpr char kAddTypedText[] = "Add Item Id";
constexpr char kRemoveText[] = "Remove";
constexpr char kImportText[] = "Import Item List...";
constexpr char kExportText[] = "Export Item List...";
constexpr char kListFilter[] = "Item Lists (*.csv *.txt)|*.csv;*.txt";
constexpr char kExportFailed[] = "The Item List cannot be Written: %s";

QTableView* ListView(QWidget* parent) {
  auto* view = new QTableView(parent);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->horizontalHeader()->setStretchLastSection(true);
  view->setWordWrap(false);
  return view;
}

std::vector<int> SelectedRows(const QTableView* view) {
  std::vector<int> rows;
  for (const QModelIndex& index : view->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Runs a browsing step under the wait cursor.
template <class Step>
void Waiting(Step step) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  step();
  QApplication::restoreOverrideCursor();
}

}  // namespace

CAddItemDlg::CAddItemDlg(AppContext& context, COPCServer& server, COPCGroup& group, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_pSession(std::make_unique<CAddItemSession>(server, group)),
      m_pTree(new QTreeView(this)),
      m_pTabs(new QTabWidget(this)),
      m_pLeaves(ListView(this)),
      m_pFound(ListView(this)),
      m_pRows(ListView(this)),
      m_pPattern(new QLineEdit(kDefaultNamePattern, this)),
      m_pSearch(new QLineEdit(this)),
      m_pSearchButton(new QPushButton(kSearchText, this)),
      m_pSearchStatus(new QLabel(this)),
      m_pRowsLabel(new QLabel(this)),
      m_pTypedId(new QLineEdit(this)),
      m_pAdd(new QPushButton(kAddText, this)),
      m_pAddTyped(new QPushButton(kAddTypedText, this)),
      m_pRemove(new QPushButton(kRemoveText, this)),
      m_pImport(new QPushButton(kImportText, this)),
      m_pExport(new QPushButton(kExportText, this)) {
  m_pTreeModel = new CBrowseTreeModel(*m_pSession, this);
  m_pLeafModel = new CTextListModel(m_pSession->Leaves(), kLeafColumn, this);
  m_pRowsModel = new CItemRowsModel(*m_pSession, this);
  m_pFoundModel = new CTextListModel(m_foundIds, kFoundColumn, this);
  m_pSession->SetTreeListener(m_pTreeModel);
  m_pSession->SetListListener(this);

  m_pTree->setModel(m_pTreeModel);
  m_pTree->setHeaderHidden(true);
  m_pTree->setUniformRowHeights(true);
  m_pLeaves->setModel(m_pLeafModel);
  m_pFound->setModel(m_pFoundModel);
  m_pRows->setModel(m_pRowsModel);
  m_pTabs->addTab(m_pLeaves, kLeavesTab);
  m_pTabs->addTab(m_pFound, kFoundTab);
  m_pPattern->setMaxLength(static_cast<int>(kMaxNamePatternLength));
  m_pSearch->setText("*");
  m_pSearch->setToolTip("Leaves anywhere below the selected branch whose name matches");
  m_pDataType = FilterButton(kTypeCaption);
  m_pAccess = FilterButton(kAccessCaption);
  for (int i = 0; i < kDataTypeFilterCount; ++i) {
    m_pDataType->menu()->addAction(kDataTypeFilters[i].m_pText, this, [this, i] {
      Waiting([&] { m_pSession->SetDataTypeFilter(i); });
      RefreshButtons();
    });
  }
  for (int i = 0; i < kAccessFilterCount; ++i) {
    m_pAccess->menu()->addAction(kAccessFilters[i].m_pText, this, [this, i] {
      Waiting([&] { m_pSession->SetAccessFilter(i); });
      RefreshButtons();
    });
  }

  // Left: the branches and the search below the selected one.
  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(m_pTree, 1);
  auto* searchRow = new QHBoxLayout;
  searchRow->addWidget(new QLabel(kSearchLabel, left));
  searchRow->addWidget(m_pSearch, 1);
  searchRow->addWidget(m_pSearchButton);
  leftLayout->addLayout(searchRow);
  leftLayout->addWidget(m_pSearchStatus);

  // Middle: the leaves with their filters.
  auto* middle = new QWidget(this);
  auto* middleLayout = new QVBoxLayout(middle);
  middleLayout->setContentsMargins(0, 0, 0, 0);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(new QLabel(kFilterLabel, middle));
  filterRow->addWidget(m_pPattern, 1);
  middleLayout->addLayout(filterRow);
  auto* menuRow = new QHBoxLayout;
  menuRow->addWidget(m_pDataType);
  menuRow->addWidget(m_pAccess);
  menuRow->addStretch(1);
  middleLayout->addLayout(menuRow);
  middleLayout->addWidget(m_pTabs, 1);
  middleLayout->addWidget(m_pAdd);

  // Right: the group's items.
  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(m_pRowsLabel);
  rightLayout->addWidget(m_pRows, 1);
  auto* typedRow = new QHBoxLayout;
  typedRow->addWidget(new QLabel(kTypedLabel, right));
  typedRow->addWidget(m_pTypedId, 1);
  typedRow->addWidget(m_pAddTyped);
  rightLayout->addLayout(typedRow);
  auto* rowButtons = new QHBoxLayout;
  rowButtons->addWidget(m_pRemove);
  rowButtons->addStretch(1);
  rowButtons->addWidget(m_pImport);
  rowButtons->addWidget(m_pExport);
  rightLayout->addLayout(rowButtons);

  auto* splitter = new QSplitter(this);
  splitter->setObjectName("AddItemSplitter");
  splitter->addWidget(left);
  splitter->addWidget(middle);
  splitter->addWidget(right);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 2);
  splitter->setStretchFactor(2, 3);
  splitter->setSizes({280, 300, 400});
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  for (QAbstractButton* button : buttons->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(button))
      push->setAutoDefault(false);  // Enter in a field must not close the dialog
  }
  for (QPushButton* button :
       {m_pAdd, m_pAddTyped, m_pRemove, m_pImport, m_pExport, m_pSearchButton})
    button->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addWidget(buttons);
  resize(1000, 620);

  connect(m_pTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { SelectTreeNode(current); });
  connect(m_pTree, &QTreeView::expanded, this, &CAddItemDlg::OnTreeExpanded);
  connect(m_pPattern, &QLineEdit::returnPressed, this, &CAddItemDlg::ApplyPattern);
  connect(m_pPattern, &QLineEdit::editingFinished, this, &CAddItemDlg::ApplyPattern);
  connect(m_pLeaves, &QTableView::doubleClicked, this, [this] { AddSelected(); });
  connect(m_pFound, &QTableView::doubleClicked, this, [this] { AddSelected(); });
  connect(m_pRows, &QTableView::activated, this,
          [this](const QModelIndex& index) { EditShortId(index.row()); });
  connect(m_pAdd, &QPushButton::clicked, this, &CAddItemDlg::AddSelected);
  connect(m_pAddTyped, &QPushButton::clicked, this, &CAddItemDlg::AddTyped);
  connect(m_pTypedId, &QLineEdit::returnPressed, this, &CAddItemDlg::AddTyped);
  connect(m_pTypedId, &QLineEdit::textChanged, this, &CAddItemDlg::RefreshButtons);
  connect(m_pRemove, &QPushButton::clicked, this, &CAddItemDlg::RemoveSelected);
  connect(m_pImport, &QPushButton::clicked, this, &CAddItemDlg::ImportList);
  connect(m_pExport, &QPushButton::clicked, this, &CAddItemDlg::ExportList);
  connect(m_pSearchButton, &QPushButton::clicked, this, [this] {
    if (m_bSearching)
      m_bStopSearch = true;
    else
      Search();
  });
  connect(m_pSearch, &QLineEdit::returnPressed, this, &CAddItemDlg::Search);
  connect(m_pTabs, &QTabWidget::currentChanged, this, &CAddItemDlg::RefreshButtons);
  connect(m_pRows->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &CAddItemDlg::RefreshButtons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  Waiting([&] { m_pSession->Open(); });
  setWindowTitle(QString::fromStdString(m_pSession->Title()));
  if (m_pSession->Tree().Root() != nullptr) {
    const QModelIndex root = m_pTreeModel->IndexOf(m_pSession->Tree().Root());
    m_pTree->setCurrentIndex(root);
    m_pTree->expand(root);
  }
  RefreshButtons();
}

CAddItemDlg::~CAddItemDlg() {
  m_pSession->SetTreeListener(nullptr);
  m_pSession->SetListListener(nullptr);
}

QToolButton* CAddItemDlg::FilterButton(const QString& caption) {
  auto* button = new QToolButton(this);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setMenu(new QMenu(button));
  button->setProperty("caption", caption);
  return button;
}

void CAddItemDlg::OnLeavesAboutToChange() {
  m_pLeafModel->BeginChange();
}

void CAddItemDlg::OnLeavesChanged() {
  m_pLeafModel->EndChange();
  RefreshButtons();
}

void CAddItemDlg::OnRowsAboutToChange() {
  m_pRowsModel->BeginChange();
}

void CAddItemDlg::OnRowsChanged() {
  m_pRowsModel->EndChange();
  m_pRows->resizeColumnToContents(0);
  RefreshButtons();
}

void CAddItemDlg::SelectTreeNode(const QModelIndex& index) {
  const CBrowseNode* node = m_pTreeModel->Node(index);
  if (node == nullptr)
    return;
  if (node->IsPlaceholder()) {  // stands for its parent
    m_pTree->setCurrentIndex(index.parent());
    return;
  }
  if (node == m_pSession->SelectedNode() && node->IsExpanded())
    return;
  Waiting([&] { m_pSession->SelectNode(node); });
  m_pTree->expand(m_pTreeModel->IndexOf(node));
  m_pTabs->setCurrentWidget(m_pLeaves);
}

void CAddItemDlg::OnTreeExpanded(const QModelIndex& index) {
  const CBrowseNode* node = m_pTreeModel->Node(index);
  // Opening a branch not listed yet selects it: that is what lists its branches.
  if (node != nullptr && !node->IsExpanded() && node->ChildCount() == 1 &&
      node->Child(0)->IsPlaceholder()) {
    m_pTree->setCurrentIndex(index);
  }
}

void CAddItemDlg::ApplyPattern() {
  const std::string pattern = m_pPattern->text().toStdString();
  if (pattern == m_pSession->NamePattern())
    return;
  Waiting([&] { m_pSession->SetNamePattern(pattern); });
}

void CAddItemDlg::AddSelected() {
  if (m_pTabs->currentWidget() == m_pFound) {
    std::vector<std::string> ids;
    for (int row : SelectedRows(m_pFound))
      ids.push_back(m_foundIds[static_cast<size_t>(row)]);
    if (!ids.empty())
      Waiting([&] { m_pSession->AddFoundIds(ids); });
    m_pFound->clearSelection();
  } else {
    const std::vector<int> rows = SelectedRows(m_pLeaves);
    if (!rows.empty())
      Waiting([&] { m_pSession->AddLeaves(rows); });
    m_pLeaves->clearSelection();
  }
}

void CAddItemDlg::AddTyped() {
  const std::string id = m_pTypedId->text().trimmed().toStdString();
  if (!CAddItemSession::IsAddTypedEnabled(id))
    return;
  AddRowsOutcome outcome;
  Waiting([&] { outcome = m_pSession->AddTypedId(id); });
  if (outcome.m_nAdded > 0)
    m_pTypedId->clear();
}

void CAddItemDlg::RemoveSelected() {
  const std::vector<int> rows = SelectedRows(m_pRows);
  if (!rows.empty())
    m_pSession->RemoveRows(rows);
}

void CAddItemDlg::EditShortId(int row) {
  if (row < 0 || row >= m_pSession->RowCount())
    return;
  CShortIdDlg dialog(
      m_pSession->ShortIdEditFor(row),
      [this, row](const std::string& text) { return m_pSession->CheckShortIdEdit(row, text); },
      this);
  if (dialog.exec() == QDialog::Accepted)
    m_pSession->ApplyShortIdEdit(row, dialog.ShortId());
}

void CAddItemDlg::Search() {
  if (m_bSearching)
    return;
  const std::string pattern = m_pSearch->text().trimmed().toStdString();
  m_bSearching = true;
  m_bStopSearch = false;
  m_pSearchButton->setText(kStopText);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_pTree, m_pTabs, m_pRows, m_pOk})
    widget->setEnabled(false);
  // The search runs on this thread (the server's apartment) and lets the window breathe
  // every tenth of a second, so that the Stop button is heard.
  QElapsedTimer sinceRepaint;
  sinceRepaint.start();
  const std::string previousPattern = m_pSession->NamePattern();
  m_pSession->SetNamePattern(pattern.empty() ? "*" : pattern);
  const ItemSearchResult result = m_pSession->SearchLeaves([&](const ItemSearchProgress& progress) {
    if (sinceRepaint.elapsed() >= 100) {
      m_pSearchStatus->setText(
          QString(kSearchProgress).arg(progress.m_nFound).arg(progress.m_nBranchesVisited));
      QApplication::processEvents();
      sinceRepaint.restart();
    }
    return !m_bStopSearch;
  });
  m_pSession->SetNamePattern(previousPattern);
  m_pFoundModel->BeginChange();
  m_foundIds = result.m_itemIds;
  m_pFoundModel->EndChange();
  m_pSearchStatus->setText(QString(result.m_bCancelled ? kSearchStopped : kSearchDone)
                               .arg(result.m_itemIds.size())
                               .arg(result.m_nBranchesVisited));
  m_bSearching = false;
  m_pSearchButton->setText(kSearchText);
  for (QWidget* widget : std::initializer_list<QWidget*>{m_pTree, m_pTabs, m_pRows})
    widget->setEnabled(true);
  m_pTabs->setCurrentWidget(m_pFound);
  RefreshButtons();
}

void CAddItemDlg::ImportList() {
  FileRequest request;
  request.title = kImportText;
  request.filter = kListFilter;
  const std::optional<std::string> path = m_context.prompt.ChooseFile(request);
  if (!path)
    return;
  ItemListImportSummary summary;
  Waiting([&] { summary = m_pSession->ImportItemList(*path); });
  m_context.prompt.ShowMessage(ImportSummaryText(summary), MessageButtons::kOk,
                               summary.m_refused.empty() && summary.m_bFileRead
                                   ? MessageIcon::kInformation
                                   : MessageIcon::kWarning);
}

void CAddItemDlg::ExportList() {
  FileRequest request;
  request.save = true;
  request.title = kExportText;
  request.filter = kListFilter;
  request.defaultExtension = ".csv";
  request.mustExist = false;
  request.initialPath = m_pSession->GroupName() + ".csv";
  const std::optional<std::string> path = m_context.prompt.ChooseFile(request);
  if (!path)
    return;
  std::string error;
  if (!m_pSession->ExportItemList(*path, &error)) {
    m_context.prompt.ShowMessage(Format(kExportFailed, error.c_str()), MessageButtons::kOk,
                                 MessageIcon::kError);
  }
}

void CAddItemDlg::RefreshButtons() {
  m_pRowsLabel->setText(QString::fromStdString(m_pSession->ItemListLabel()));
  m_pDataType->setText(m_pDataType->property("caption").toString().arg(
      QString::fromStdString(m_pSession->DataTypeFilterText())));
  m_pAccess->setText(m_pAccess->property("caption").toString().arg(
      QString::fromStdString(m_pSession->AccessFilterText())));
  const bool onFound = m_pTabs->currentWidget() == m_pFound;
  m_pAdd->setEnabled(!m_bSearching &&
                     (onFound ? !m_foundIds.empty() : m_pSession->IsAddLeavesEnabled()));
  m_pAddTyped->setEnabled(
      CAddItemSession::IsAddTypedEnabled(m_pTypedId->text().trimmed().toStdString()));
  m_pRemove->setEnabled(m_pRows->selectionModel()->hasSelection());
  m_pExport->setEnabled(m_pSession->RowCount() > 0);
  m_pSearchButton->setEnabled(m_pSession->CanBrowse());
  m_pOk->setEnabled(!m_bSearching && m_pSession->IsOkEnabled());
}
