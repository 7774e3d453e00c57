#include "opc/gui/short_id_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* Value(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(QString::fromStdString(text), parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

}  // namespace

CShortIdDlg::CShortIdDlg(const ShortIdEditRequest& request,
                         std::function<ShortIdCheck(const std::string&)> check, QWidget* parent)
    : QDialog(parent),
      m_fnCheck(std::move(check)),
      m_pShortId(new QLineEdit(QString::fromStdString(request.m_sShortId), this)) {
  setWindowTitle(kShortIdDlgTitle);
  m_check.m_sShortId = request.m_sShortId;
  auto* form = new QFormLayout;
  form->addRow("OPC Group Name: ", Value(request.m_sGroupName, this));
  form->addRow("OPC Group Index: ", Value(std::to_string(request.m_nGroupIndex), this));
  form->addRow("Acquired OPC Items: ", Value(std::to_string(request.m_nAcquiredCount), this));
  form->addRow("Calculated OPC Items: ", Value(std::to_string(request.m_nCalcCount), this));
  form->addRow("Qualified Tag: ", Value(request.m_sQualifiedId, this));
  form->addRow("Short Tag: ", m_pShortId);
  form->addRow("Data Type: ", Value(request.m_sDataType, this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_pOk = buttons->button(QDialogButtonBox::Ok);
  m_pOk->setEnabled(false);  // nothing changed yet
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  m_pShortId->selectAll();
  m_pShortId->setFocus();
  connect(m_pShortId, &QLineEdit::textEdited, this, &CShortIdDlg::OnEdited);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CShortIdDlg::OnEdited() {
  m_check = m_fnCheck(m_pShortId->text().toStdString());
  m_pOk->setEnabled(m_check.m_bOkEnabled);
}
