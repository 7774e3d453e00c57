#include "chart/gui/chart_axis_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "base/number_text.h"

namespace {

constexpr char kRangeTitle[] = "Set Axis Range";
constexpr char kAttributesTitle[] = "Set Chart Axis Attributes";
constexpr const char* kRangeCaptions[] = {" Left Axis Range ", " Right Axis Range "};
constexpr const char* kAxisCaptions[] = {" Left Axis ", " Right Axis "};
constexpr char kMinLabel[] = "Minimum Axis Value: ";
constexpr char kMaxLabel[] = "Maximum Axis Value: ";

QString Number(double value, int decimals) {
  return QString::fromStdString(FormatFixed(value, decimals));
}

double Read(const QLineEdit* field) {
  return LeadingDouble(field->text().trimmed().toStdString());
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

CChartAxisRangeDlg::CChartAxisRangeDlg(CChartViewModel& model, int axis, int decimals,
                                       QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_nAxis(axis == kChartRightAxis ? kChartRightAxis : kChartLeftAxis),
      m_pMin(new QLineEdit(this)),
      m_pMax(new QLineEdit(this)) {
  setWindowTitle(kRangeTitle);
  const ChartAxisRange& range = model.AxisRange(m_nAxis);
  m_pMin->setText(Number(range.min, decimals));
  m_pMax->setText(Number(range.max, decimals));
  auto* box = new QGroupBox(kRangeCaptions[m_nAxis], this);
  auto* form = new QFormLayout(box);
  form->addRow(kMinLabel, m_pMin);
  form->addRow(kMaxLabel, m_pMax);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addWidget(OkCancel(this));
}

void CChartAxisRangeDlg::Apply() {
  m_model.SetAxisRange(m_nAxis, Read(m_pMin), Read(m_pMax));
}

CChartAxisDlg::CChartAxisDlg(CChartViewModel& model, int decimals, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_pAutomatic(new QCheckBox("Automatic Axis Selection", this)) {
  setWindowTitle(kAttributesTitle);
  auto* axes = new QHBoxLayout;
  for (int axis = 0; axis < 2; ++axis) {
    const ChartAxisRange& range = model.AxisRange(axis);
    m_pType[axis] = new QComboBox(this);
    m_pType[axis]->addItems({"Automatic", "Manual"});
    m_pType[axis]->setCurrentIndex(range.manual ? 1 : 0);
    m_pMin[axis] = new QLineEdit(Number(range.min, decimals), this);
    m_pMax[axis] = new QLineEdit(Number(range.max, decimals), this);
    auto* box = new QGroupBox(kAxisCaptions[axis], this);
    auto* form = new QFormLayout(box);
    form->addRow("Axis Range Type: ", m_pType[axis]);
    form->addRow(kMinLabel, m_pMin[axis]);
    form->addRow(kMaxLabel, m_pMax[axis]);
    axes->addWidget(box);
    connect(m_pType[axis], &QComboBox::currentIndexChanged, this, &CChartAxisDlg::EnableFields);
  }
  m_pAutomatic->setChecked(model.AutomaticAssignment());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(axes);
  layout->addWidget(m_pAutomatic);
  layout->addWidget(OkCancel(this));
  EnableFields();
}

void CChartAxisDlg::EnableFields() {
  for (int axis = 0; axis < 2; ++axis) {
    const bool manual = m_pType[axis]->currentIndex() == 1;
    m_pMin[axis]->setEnabled(manual);
    m_pMax[axis]->setEnabled(manual);
  }
}

void CChartAxisDlg::Apply() {
  ChartAxisRange ranges[2];
  for (int axis = 0; axis < 2; ++axis) {
    ranges[axis].manual = m_pType[axis]->currentIndex() == 1;
    if (ranges[axis].manual) {
      ranges[axis].min = Read(m_pMin[axis]);
      ranges[axis].max = Read(m_pMax[axis]);
    }
  }
  m_model.SetAxisAttributes(ranges, m_pAutomatic->isChecked());
}
