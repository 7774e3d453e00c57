#include "calc/gui/add_calc_item_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "calc/calc_function_list.h"
#include "opc/gui/short_id_dlg.h"

namespace {

QTreeWidget* List(const std::array<const char*, 4>& headings, QWidget* parent) {
  auto* list = new QTreeWidget(parent);
  list->setRootIsDecorated(false);
  list->setHeaderLabels({headings[0], headings[1], headings[2], headings[3]});
  list->setUniformRowHeights(true);
  return list;
}

void Fill(QTreeWidget* list, const std::vector<CalcEditorRow>& rows) {
  const int current = list->indexOfTopLevelItem(list->currentItem());
  list->clear();
  for (const CalcEditorRow& row : rows) {
    list->addTopLevelItem(
        new QTreeWidgetItem({QString::fromStdString(row[0]), QString::fromStdString(row[1]),
                             QString::fromStdString(row[2]), QString::fromStdString(row[3])}));
  }
  for (int column = 0; column < 4; ++column)
    list->resizeColumnToContents(column);
  if (current >= 0 && current < list->topLevelItemCount())
    list->setCurrentItem(list->topLevelItem(current));
}

}  // namespace

CAddCalcItemDlg::CAddCalcItemDlg(COPCServer& server, COPCGroup& group, IUserPrompt& prompt,
                                 const IClock& clock, QWidget* parent)
    : QDialog(parent),
      m_pPresenter(std::make_unique<CCalcItemEditorPresenter>(server, group, prompt, clock)),
      m_pCaption(new QLabel(this)),
      m_pIdentifier(new QLineEdit(this)),
      m_pExpression(new QLineEdit(this)),
      m_pResult(new QLabel(this)),
      m_pAllowance(new QLabel(this)),
      m_pServer(new QLabel(this)),
      m_pAcquired(List(AcquiredListHeadings(), this)),
      m_pCalc(List(CalcListHeadings(), this)),
      m_pFunctions(new QTreeWidget(this)),
      m_pEvaluate(new QPushButton("Evaluate", this)),
      m_pInsertAcquired(new QPushButton("Insert Acquired Item in Expression", this)),
      m_pInsertCalc(new QPushButton("Insert Calculated Item in Expression", this)),
      m_pEdit(new QPushButton("Edit Calculated Item", this)),
      m_pAdd(new QPushButton("Add Item", this)),
      m_pModify(new QPushButton("Modify Item", this)),
      m_pRemove(new QPushButton("Remove Item", this)) {
  setWindowTitle(QString::fromStdString(m_pPresenter->WindowTitle()));
  m_pCaption->setText(QString::fromStdString(m_pPresenter->FrameCaption()));
  QFont bold = m_pCaption->font();
  bold.setBold(true);
  m_pCaption->setFont(bold);
  m_pResult->setWordWrap(true);
  m_pFunctions->setRootIsDecorated(false);
  m_pFunctions->setHeaderLabels({"Function", "Description"});
  m_pFunctions->setColumnWidth(0, kFunctionNameColumnWidth);
  m_pFunctions->setColumnWidth(1, kFunctionDescriptionColumnWidth);
  for (const CalcFunctionEntry& entry : CalcFunctionList())
    m_pFunctions->addTopLevelItem(new QTreeWidgetItem({entry.pName, entry.pDescription}));
  const CalcEditorServerInfo info = m_pPresenter->ServerInfo();
  m_pServer->setText(
      QString::fromStdString("Server Id: " + info.sServerId + "   OPC Server Host: " + info.sHost +
                             "   " + info.sConnectionStatus + " (" + info.sServerStatus +
                             ")   Groups: " + std::to_string(info.nGroupCount) +
                             "   Acquired Items: " + std::to_string(info.nAcquiredCount) +
                             "   Calculated Items: " + std::to_string(info.nCalculatedCount)));
  m_pAllowance->setText(QString(kAllowanceLabel) + QString::number(m_pPresenter->Allowance()));

  auto* expressionRow = new QHBoxLayout;
  expressionRow->addWidget(m_pIdentifier, 1);
  expressionRow->addWidget(new QLabel("=", this));
  expressionRow->addWidget(m_pExpression, 4);
  expressionRow->addWidget(m_pEvaluate);
  auto* resultRow = new QHBoxLayout;
  resultRow->addWidget(new QLabel(kEvaluationResultLabel, this));
  resultRow->addWidget(m_pResult, 1);
  auto* lists = new QGridLayout;
  lists->addWidget(m_pAcquired, 0, 0);
  lists->addWidget(m_pCalc, 0, 1);
  auto* acquiredButtons = new QHBoxLayout;
  acquiredButtons->addWidget(m_pInsertAcquired);
  acquiredButtons->addStretch(1);
  lists->addLayout(acquiredButtons, 1, 0);
  auto* calcButtons = new QHBoxLayout;
  calcButtons->addWidget(m_pInsertCalc);
  calcButtons->addWidget(m_pEdit);
  calcButtons->addStretch(1);
  lists->addLayout(calcButtons, 1, 1);
  auto* itemButtons = new QHBoxLayout;
  itemButtons->addWidget(m_pAdd);
  itemButtons->addWidget(m_pModify);
  itemButtons->addWidget(m_pRemove);
  itemButtons->addStretch(1);
  itemButtons->addWidget(m_pAllowance);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  for (QPushButton* button :
       {m_pEvaluate, m_pInsertAcquired, m_pInsertCalc, m_pEdit, m_pAdd, m_pModify, m_pRemove})
    button->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pCaption);
  layout->addLayout(expressionRow);
  layout->addLayout(resultRow);
  layout->addLayout(lists, 2);
  layout->addWidget(m_pFunctions, 1);
  layout->addLayout(itemButtons);
  layout->addWidget(m_pServer);
  layout->addWidget(buttons);
  resize(1000, 640);

  connect(m_pIdentifier, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (m_bRefreshing)
      return;
    m_pPresenter->SetIdentifier(text.toStdString());
    Refresh();
  });
  connect(m_pExpression, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (m_bRefreshing)
      return;
    m_pPresenter->SetExpression(text.toStdString());
    Refresh();
  });
  connect(m_pAcquired, &QTreeWidget::currentItemChanged, this, [this] {
    if (!m_bRefreshing) {
      m_pPresenter->SelectAcquiredRow(m_pAcquired->indexOfTopLevelItem(m_pAcquired->currentItem()));
      Refresh();
    }
  });
  connect(m_pCalc, &QTreeWidget::currentItemChanged, this, [this] {
    if (!m_bRefreshing) {
      m_pPresenter->SelectCalcRow(m_pCalc->indexOfTopLevelItem(m_pCalc->currentItem()));
      Refresh();
    }
  });
  // A click on the Short Name cell of an acquired row edits that item's short id.
  connect(m_pAcquired, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 1)
      EditAcquiredShortId(m_pAcquired->indexOfTopLevelItem(item));
  });
  // Choosing a function inserts it at once.
  connect(m_pFunctions, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const int index = m_pFunctions->indexOfTopLevelItem(item);
    if (index >= 0 && index < static_cast<int>(CalcFunctionList().size()))
      InsertText(CalcFunctionList()[static_cast<size_t>(index)].pInserted);
  });
  connect(m_pInsertAcquired, &QPushButton::clicked, this, [this] {
    const QTreeWidgetItem* row = m_pAcquired->currentItem();
    if (row != nullptr)
      InsertText(row->text(1).toStdString());
  });
  connect(m_pInsertCalc, &QPushButton::clicked, this, [this] {
    const QTreeWidgetItem* row = m_pCalc->currentItem();
    if (row != nullptr)
      InsertText(row->text(1).toStdString());
  });
  connect(m_pEvaluate, &QPushButton::clicked, this, [this] {
    m_pPresenter->Evaluate();
    Refresh();
  });
  connect(m_pEdit, &QPushButton::clicked, this, [this] {
    m_pPresenter->Edit();
    Refresh();
  });
  connect(m_pAdd, &QPushButton::clicked, this, [this] {
    m_pPresenter->Add();
    RefreshLists();
    Refresh();
  });
  connect(m_pModify, &QPushButton::clicked, this, [this] {
    m_pPresenter->Modify();
    RefreshLists();
    Refresh();
  });
  connect(m_pRemove, &QPushButton::clicked, this, [this] {
    m_pPresenter->Remove();
    RefreshLists();
    Refresh();
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  RefreshLists();
  Refresh();
}

void CAddCalcItemDlg::EditAcquiredShortId(int row) {
  const ShortIdEditRequest request = m_pPresenter->AcquiredShortIdEditFor(row);
  if (request.m_sQualifiedId.empty())
    return;  // a missing item has no short id to edit
  CShortIdDlg dialog(
      request,
      [this, row](const std::string& text) {
        return m_pPresenter->CheckAcquiredShortId(row, text);
      },
      this);
  if (dialog.exec() != QDialog::Accepted)
    return;
  m_pPresenter->RenameAcquiredShortId(row, dialog.ShortId());
  RefreshLists();
  Refresh();
}

void CAddCalcItemDlg::InsertText(const std::string& text) {
  // QLineEdit::insert replaces the selection and keeps Ctrl+Z able to take it back.
  m_pExpression->insert(QString::fromStdString(text));
  m_pExpression->setFocus();
}

void CAddCalcItemDlg::RefreshLists() {
  m_bRefreshing = true;
  Fill(m_pAcquired, m_pPresenter->AcquiredRows());
  Fill(m_pCalc, m_pPresenter->CalcRows());
  m_bRefreshing = false;
  // The refilled lists keep their selected rows: their buttons follow them.
  m_pPresenter->SelectAcquiredRow(m_pAcquired->indexOfTopLevelItem(m_pAcquired->currentItem()));
  m_pPresenter->SelectCalcRow(m_pCalc->indexOfTopLevelItem(m_pCalc->currentItem()));
}

void CAddCalcItemDlg::Refresh() {
  m_bRefreshing = true;
  if (m_pIdentifier->text().toStdString() != m_pPresenter->Identifier())
    m_pIdentifier->setText(QString::fromStdString(m_pPresenter->Identifier()));
  if (m_pExpression->text().toStdString() != m_pPresenter->Expression())
    m_pExpression->setText(QString::fromStdString(m_pPresenter->Expression()));
  m_bRefreshing = false;
  m_pResult->setText(QString::fromStdString(m_pPresenter->Result()));
  const CalcEditorButtons& buttons = m_pPresenter->Buttons();
  m_pAdd->setEnabled(buttons.bAdd);
  m_pModify->setEnabled(buttons.bModify);
  m_pRemove->setEnabled(buttons.bRemove);
  m_pEvaluate->setEnabled(buttons.bEvaluate);
  m_pInsertAcquired->setEnabled(buttons.bInsertAcquired);
  m_pInsertCalc->setEnabled(buttons.bInsertCalc);
  m_pEdit->setEnabled(buttons.bEditCalc);
}
