#include "opc/gui/group_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <climits>

#include "base/number_text.h"

namespace {

constexpr const char* kInterfaceTexts[] = {"Sync I/O Cache (1.0a)", "Sync I/O Device (1.0a)",
                                           "ASync I/O (1.0a)", "ASync I/O (2.0)"};

QLabel* Hint(const char* text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  QFont font = label->font();
  font.setItalic(true);
  label->setFont(font);
  return label;
}

}  // namespace

CGroupDlg::CGroupDlg(COPCServer& server, IUserPrompt& prompt, const COPCGroup* editedGroup,
                     QWidget* parent)
    : QDialog(parent),
      m_server(server),
      m_prompt(prompt),
      m_bModification(editedGroup != nullptr),
      m_sEditedName(editedGroup != nullptr ? editedGroup->Name() : std::string()),
      m_values(editedGroup != nullptr ? editedGroup->Settings() : NewGroupSettings(server)),
      m_pName(new QLineEdit(QString::fromStdString(m_values.m_sName), this)),
      m_pRate(new QComboBox(this)),
      m_pBias(new QSpinBox(this)),
      m_pDeadBand(new QDoubleSpinBox(this)),
      m_pInterface(new QComboBox(this)),
      m_pActive(new QCheckBox("Active OPC Group", this)),
      m_pMessage(new QLabel(this)) {
  setWindowTitle(editedGroup != nullptr ? kGroupModificationTitle : kGroupAdditionTitle);
  for (int position = 0; position < kUpdateRateChoiceCount; ++position) {
    m_pRate->addItem(
        QString::fromStdString(FormatShortest(UpdateRateForChoice(position) / 1000.0) + " s"));
  }
  m_pRate->setCurrentIndex(ChoiceForUpdateRate(m_values.m_dwUpdateRate));
  m_pBias->setRange(0, INT_MAX);
  m_pBias->setValue(static_cast<int>(m_values.m_nTimeBias));
  m_pDeadBand->setRange(0.0, 100.0);
  m_pDeadBand->setDecimals(2);
  m_pDeadBand->setValue(m_values.m_fDeadBand);
  for (const char* text : kInterfaceTexts)
    m_pInterface->addItem(text);
  m_nInterfaceShown = static_cast<int>(m_values.m_nReadInterface);
  m_pInterface->setCurrentIndex(m_nInterfaceShown);
  m_pActive->setChecked(m_values.m_bActive);
  m_pMessage->setStyleSheet("color: #c00000");

  auto* form = new QFormLayout;
  form->addRow("OPC Group Name: ", m_pName);
  form->addRow(QString(), m_pMessage);
  form->addRow("Update Rate: ", m_pRate);
  form->addRow(QString(), Hint(kUpdateRateHint, this));
  form->addRow("Time Bias (min): ", m_pBias);
  form->addRow(QString(), Hint(kTimeBiasHint, this));
  form->addRow("Percent Dead Band: ", m_pDeadBand);
  form->addRow(QString(), Hint(kDeadBandHint, this));
  form->addRow("OPC Data Read Mode: ", m_pInterface);
  form->addRow(QString(), m_pActive);
  form->addRow(QString(), Hint(kActiveStateHint, this));

  // The server the group goes to, and the groups it already has.
  auto* side = new QVBoxLayout;
  std::string state;
  const bool alive = server.GetServerStateText(state);
  side->addWidget(new QLabel(QString::fromStdString("Server Id: " + server.ServerId()), this));
  side->addWidget(new QLabel(QString::fromStdString("OPC Server Host: " + server.Host()), this));
  side->addWidget(new QLabel(alive ? "Connected" : "Not Connected", this));
  side->addWidget(new QLabel(QString::fromStdString(state), this));
  auto* groups = new QTreeWidget(this);
  groups->setHeaderLabels({"Group Name", "Item Count"});
  groups->setRootIsDecorated(false);
  for (int g = 0; g < server.GroupCount(); ++g) {
    groups->addTopLevelItem(
        new QTreeWidgetItem({QString::fromStdString(server.Group(g)->Name()),
                             QString::number(server.Group(g)->AcquiredCount())}));
  }
  side->addWidget(groups, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  auto* top = new QHBoxLayout;
  top->addLayout(form, 3);
  top->addLayout(side, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(buttons);
  // A window's minimum height ignores how tall its wrapped hints get at its width: the
  // height is asked for that width, so that every hint shows all of its lines.
  constexpr int kWidth = 760;
  const int height = layout->totalHeightForWidth(kWidth);
  setMinimumSize(kWidth, height);
  resize(kWidth, height);

  connect(m_pName, &QLineEdit::textChanged, this, &CGroupDlg::OnNameEdited);
  connect(m_pInterface, &QComboBox::activated, this, &CGroupDlg::OnInterfaceChosen);
  connect(buttons, &QDialogButtonBox::accepted, this, &CGroupDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  OnNameEdited();
}

const COPCGroup* CGroupDlg::EditedGroup() const {
  // Looked up on every use: a project close may remove it while the dialog is open.
  return m_bModification ? m_server.FindGroupByName(m_sEditedName) : nullptr;
}

void CGroupDlg::OnNameEdited() {
  const std::string name = m_pName->text().toStdString();
  m_pMessage->setText(QString::fromStdString(GroupNameMessage(m_server, name, EditedGroup())));
  m_pOk->setEnabled(GroupDialogOkEnabled(m_server, name, EditedGroup()));
}

void CGroupDlg::OnInterfaceChosen(int index) {
  if (index == m_nInterfaceShown)
    return;
  if (!ConfirmReadInterfaceChoice(static_cast<uint32_t>(index), m_prompt)) {
    m_pInterface->setCurrentIndex(m_nInterfaceShown);  // cancelled: the previous choice
    return;
  }
  m_nInterfaceShown = index;
}

void CGroupDlg::TakeFields() {
  m_values.m_sName = m_pName->text().toStdString();
  m_values.m_dwUpdateRate = UpdateRateForChoice(m_pRate->currentIndex());
  m_values.m_nTimeBias = m_pBias->value();
  m_values.m_fDeadBand = static_cast<FLOAT>(m_pDeadBand->value());
  m_values.m_nReadInterface = static_cast<uint32_t>(m_pInterface->currentIndex());
  m_values.m_bActive = m_pActive->isChecked();
}

void CGroupDlg::accept() {
  TakeFields();
  if (!AcceptGroupDialog(m_server, m_values, m_prompt))
    return;  // the empty-name question kept the dialog open
  QDialog::accept();
}
