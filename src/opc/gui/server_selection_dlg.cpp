#include "opc/gui/server_selection_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "opc/gui/direct_host_dlg.h"
#include "opc/gui/direct_server_dlg.h"
#include "opc/gui/server_selection_model.h"

namespace {

constexpr char kModeBox[] = "OPC Server Enumeration";
constexpr char kOpcEnumText[] = "Enumeration using OPCEnum.exe";
constexpr char kRegistryText[] = "Enumeration using Windows Registry (Local Host Only)";
constexpr char kResultBox[] = "Selected OPC Server";
constexpr char kServerIdLabel[] = "Server Id: ";
constexpr char kHostLabel[] = "OPC Server Host: ";
constexpr char kClassIdLabel[] = "Class Id: ";

QLineEdit* ResultField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  return field;
}

}  // namespace

CServerSelectionDlg::CServerSelectionDlg(AppContext& context, CSQLite* db, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_pDb(db),
      m_pTree(std::make_unique<CServerSelectionTree>(context)),
      m_pView(new QTreeView(this)),
      m_pOpcEnum(new QRadioButton(kOpcEnumText, this)),
      m_pRegistry(new QRadioButton(kRegistryText, this)),
      m_pServerId(ResultField(this)),
      m_pHost(ResultField(this)),
      m_pClassId(ResultField(this)) {
  setWindowTitle(kServerSelectionTitle);
  m_pTree->SetDialogs(this);
  m_pModel = new CServerSelectionModel(*m_pTree, this);
  m_pView->setModel(m_pModel);
  m_pView->setHeaderHidden(true);
  m_pView->setUniformRowHeights(true);

  auto* modeBox = new QGroupBox(kModeBox, this);
  auto* modeLayout = new QVBoxLayout(modeBox);
  modeLayout->addWidget(m_pOpcEnum);
  modeLayout->addWidget(m_pRegistry);
  m_pOpcEnum->setChecked(m_pTree->Mode() == EnumerationMode::kOpcEnum);
  m_pRegistry->setChecked(m_pTree->Mode() == EnumerationMode::kRegistry);

  auto* resultBox = new QGroupBox(kResultBox, this);
  auto* form = new QFormLayout(resultBox);
  form->addRow(kServerIdLabel, m_pServerId);
  form->addRow(kHostLabel, m_pHost);
  form->addRow(kClassIdLabel, m_pClassId);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pOk->setEnabled(false);
  // Enter is handled below (OK when a server is chosen): no button is the default.
  for (QAbstractButton* button : buttons->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(button))
      push->setAutoDefault(false);
  }

  auto* side = new QVBoxLayout;
  side->addWidget(modeBox);
  side->addWidget(resultBox);
  side->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(m_pView, 3);
  top->addLayout(side, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(buttons);
  resize(900, 520);

  connect(m_pView, &QTreeView::expanded, this, &CServerSelectionDlg::OnExpanded);
  connect(m_pView->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { OnCurrentChanged(current); });
  connect(m_pModel, &CServerSelectionModel::modeChanged, this, [this](EnumerationMode mode) {
    m_pOpcEnum->setChecked(mode == EnumerationMode::kOpcEnum);
    m_pRegistry->setChecked(mode == EnumerationMode::kRegistry);
  });
  connect(m_pModel, &CServerSelectionModel::collapseRequested, m_pView, &QTreeView::collapse);
  connect(m_pModel, &CServerSelectionModel::expandRequested, m_pView, &QTreeView::expand);
  connect(m_pOpcEnum, &QRadioButton::toggled, this, [this](bool on) {
    m_pTree->SetMode(on ? EnumerationMode::kOpcEnum : EnumerationMode::kRegistry);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CServerSelectionDlg::~CServerSelectionDlg() {
  // The model leaves the tree while the tree still exists (the children of the dialog
  // would otherwise go after its members).
  m_pView->setModel(nullptr);
  delete m_pModel;
  m_pModel = nullptr;
  m_pTree->SetDialogs(nullptr);
}

void CServerSelectionDlg::Expand(const QModelIndex& index) {
  const CServerNode* node = m_pModel->Node(index);
  if (node == nullptr || m_pTree->IsExpanding())
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_pTree->Expand(node);
  QApplication::restoreOverrideCursor();
  OnCurrentChanged(m_pView->currentIndex());
}

void CServerSelectionDlg::OnExpanded(const QModelIndex& index) {
  const CServerNode* node = m_pModel->Node(index);
  if (node != nullptr && node->HasPlaceholder())
    Expand(index);
}

void CServerSelectionDlg::Refresh(const QModelIndex& index) {
  Expand(index);
  m_pView->expand(index);
}

void CServerSelectionDlg::OnCurrentChanged(const QModelIndex& current) {
  // No current node (its branch was enumerated again, or the tree emptied) selects nothing;
  // only a node without its data is an error.
  m_selection = current.isValid() ? m_pTree->Select(m_pModel->Node(current)) : ServerSelection{};
  m_pServerId->setText(QString::fromStdString(m_selection.m_sServerId));
  m_pHost->setText(QString::fromStdString(m_selection.m_sHost));
  m_pClassId->setText(QString::fromStdString(m_selection.m_sClassIdText));
  m_pOk->setEnabled(m_selection.m_bOkEnabled);
}

void CServerSelectionDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      if (m_pOk->isEnabled())
        accept();
      return;
    case Qt::Key_Escape:
      event->accept();
      reject();
      return;
    case Qt::Key_F5:
      Refresh(m_pView->currentIndex());
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void CServerSelectionDlg::done(int result) {
  if (result == QDialog::Accepted && !m_selection.m_bOkEnabled)
    return;
  // Emptying the tree moves the current node: the choice made must outlive it, and the
  // selection model must not report the vanished node as a selection of nothing.
  const ServerSelection chosen = m_selection;
  m_pView->selectionModel()->disconnect(this);
  m_pView->setModel(nullptr);
  m_pTree->Close();
  m_selection = chosen;
  QDialog::done(result);
}

bool CServerSelectionDlg::AskDirectHost(DirectHostChoice& choice) {
  CDirectHostDlg dialog(m_context, this);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  choice = dialog.Choice();
  return true;
}

bool CServerSelectionDlg::AskDirectServer(DirectServerChoice& choice) {
  CDirectServerDlg dialog(m_pDb, this);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  choice = dialog.Choice();
  return true;
}
