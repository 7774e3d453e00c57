#include "chart/gui/chart_series_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/number_text.h"
#include "chart/gui/chart_colour_button.h"
#include "ui/colour_ref.h"

namespace {

constexpr char kTitle[] = "Select Chart Data Serie";
constexpr const char* kHeadings[] = {"Qualified Identifier", "Short Id.",  "Line Color",
                                     "Line Style",           "Min. Value", "Max. Value",
                                     "Reference Axis"};
constexpr const char* kStyles[] = {"Solid", "Dash", "Dot", "Dash-Dot", "Dash-Dot-Dot"};
constexpr const char* kAxes[] = {"Left Axis", "Right Axis"};

QString Number(double value, int decimals) {
  return QString::fromStdString(FormatFixed(value, decimals));
}

QLineEdit* ReadOnlyField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setReadOnly(true);
  return field;
}

// " Left Axis Limits " with the axis's present range.
QGroupBox* AxisLimits(const char* title, const ChartAxisRange& range, int decimals,
                      QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* form = new QFormLayout(box);
  QLineEdit* minimum = ReadOnlyField(box);
  QLineEdit* maximum = ReadOnlyField(box);
  minimum->setText(Number(range.min, decimals));
  maximum->setText(Number(range.max, decimals));
  form->addRow("Minimum Value: ", minimum);
  form->addRow("Maximum Value: ", maximum);
  return box;
}

// The number stays (it is the list's text); a swatch and its red, green, blue tell the colour.
void ShowColourOf(QTreeWidgetItem* row, uint32_t colour) {
  row->setIcon(CChartSeriesDlg::kColour, ColourRefSwatch(colour));
  row->setToolTip(CChartSeriesDlg::kColour, ColourRefText(colour));
}

}  // namespace

const char* ChartLineStyleName(int style) {
  return style >= 0 && style < 5 ? kStyles[style] : kStyles[0];
}

int ChartLineStyleValue(const QString& name) {
  for (int i = 0; i < 5; ++i) {
    if (name == kStyles[i])
      return i;
  }
  return 0;
}

const char* ChartAxisName(int axis) {
  return axis == kChartRightAxis ? kAxes[1] : kAxes[0];
}

CChartSeriesDlg::CChartSeriesDlg(CChartViewModel& model, int decimals, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_pList(new QTreeWidget(this)),
      m_pCount(new QLabel(this)),
      m_pSelected(new QLabel(this)),
      m_pQualified(ReadOnlyField(this)),
      m_pMin(ReadOnlyField(this)),
      m_pMax(ReadOnlyField(this)),
      m_pDisplay(new QCheckBox("Display Data Serie on Chart", this)),
      m_pColour(new CChartColourButton(this)),
      m_pStyle(new QComboBox(this)),
      m_pAxis(new QComboBox(this)),
      m_pAutomatic(new QCheckBox("Automatic Axis Selection", this)),
      m_pKeepPeaks(new QCheckBox("Keep Peaks", this)) {
  setWindowTitle(kTitle);
  m_pList->setColumnCount(kColumnCount);
  QStringList headings;
  for (const char* heading : kHeadings)
    headings << heading;
  m_pList->setHeaderLabels(headings);
  m_pList->setRootIsDecorated(false);
  m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
  for (int i = 0; i < model.ItemCount(); ++i) {
    const CVelmoraChartItem& item = model.Item(i);
    auto* row = new QTreeWidgetItem(m_pList);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(kQualified, item.m_bShown ? Qt::Checked : Qt::Unchecked);
    row->setText(kQualified, QString::fromStdString(item.m_sQualifiedId));
    row->setText(kShort, QString::fromStdString(item.m_sShortId));
    row->setText(kColour, QString::number(item.m_color));
    ShowColourOf(row, item.m_color);
    row->setText(kStyle, ChartLineStyleName(item.m_nLineStyle));
    row->setText(kMin, Number(item.m_dMin, decimals));
    row->setText(kMax, Number(item.m_dMax, decimals));
    row->setText(kAxis, ChartAxisName(item.m_nAxis));
  }
  m_pList->header()->resizeSections(QHeaderView::ResizeToContents);
  for (const char* style : kStyles)
    m_pStyle->addItem(style);
  for (const char* axis : kAxes)
    m_pAxis->addItem(axis);
  m_pAutomatic->setChecked(model.AutomaticAssignment());
  m_pKeepPeaks->setChecked(model.KeepPeaks());
  m_pKeepPeaks->setToolTip(
      "Each drawn point pair shows the minimum and the maximum of its run of rows, so that a "
      "short peak stays visible in a long window");

  auto* counts = new QFormLayout;
  counts->addRow("Number of Data Series: ", m_pCount);
  counts->addRow("Number of Selected Data Series: ", m_pSelected);
  auto* selectAll = new QPushButton("Select All Data Series", this);
  auto* unselectAll = new QPushButton("Unselect All Data Series", this);
  connect(selectAll, &QPushButton::clicked, this, [this] { CheckAll(true); });
  connect(unselectAll, &QPushButton::clicked, this, [this] { CheckAll(false); });
  auto* top = new QHBoxLayout;
  top->addLayout(counts);
  top->addStretch(1);
  top->addWidget(selectAll);
  top->addWidget(unselectAll);

  auto* attributes = new QGroupBox("Series Attributes", this);
  auto* form = new QFormLayout(attributes);
  form->addRow("Fully Qualified Identifier: ", m_pQualified);
  form->addRow("Minimum Value: ", m_pMin);
  form->addRow("Maximum Value: ", m_pMax);
  form->addRow(m_pDisplay);
  form->addRow("Serie Color: ", m_pColour);
  form->addRow("Line Style: ", m_pStyle);
  form->addRow("Reference Axis: ", m_pAxis);
  auto* update = new QPushButton("Update Serie Attributes", this);
  connect(update, &QPushButton::clicked, this, &CChartSeriesDlg::UpdateSelectedRow);
  form->addRow(update);

  auto* limits = new QVBoxLayout;
  limits->addWidget(
      AxisLimits(" Left Axis Limits ", model.AxisRange(kChartLeftAxis), decimals, this));
  limits->addWidget(
      AxisLimits(" Right Axis Limits ", model.AxisRange(kChartRightAxis), decimals, this));
  limits->addWidget(m_pAutomatic);
  limits->addWidget(m_pKeepPeaks);
  limits->addStretch(1);
  auto* lower = new QHBoxLayout;
  lower->addWidget(attributes, 1);
  lower->addLayout(limits);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_pList, 1);
  layout->addLayout(lower);
  layout->addWidget(buttons);
  resize(820, 560);

  connect(m_pList, &QTreeWidget::itemSelectionChanged, this, &CChartSeriesDlg::OnRowSelected);
  connect(m_pList, &QTreeWidget::itemChanged, this, [this] { CountSelected(); });
  connect(m_pDisplay, &QCheckBox::toggled, this, [this](bool on) {
    if (QTreeWidgetItem* row = m_pList->currentItem())
      row->setCheckState(kQualified, on ? Qt::Checked : Qt::Unchecked);
  });
  m_pCount->setText(QString::number(model.ItemCount()));
  CountSelected();
  if (m_pList->topLevelItemCount() > 0)
    m_pList->setCurrentItem(m_pList->topLevelItem(0));
}

void CChartSeriesDlg::CountSelected() {
  int checked = 0;
  for (int i = 0; i < m_pList->topLevelItemCount(); ++i)
    checked += m_pList->topLevelItem(i)->checkState(kQualified) == Qt::Checked ? 1 : 0;
  m_pSelected->setText(QString::number(checked));
}

void CChartSeriesDlg::OnRowSelected() {
  QTreeWidgetItem* row = m_pList->currentItem();
  if (row == nullptr)
    return;
  m_pQualified->setText(row->text(kQualified));
  m_pMin->setText(row->text(kMin));
  m_pMax->setText(row->text(kMax));
  const QSignalBlocker blocker(m_pDisplay);
  m_pDisplay->setChecked(row->checkState(kQualified) == Qt::Checked);
  m_pColour->SetColour(static_cast<ChartColour>(row->text(kColour).toUInt()));
  m_pStyle->setCurrentIndex(ChartLineStyleValue(row->text(kStyle)));
  m_pAxis->setCurrentIndex(row->text(kAxis) == kAxes[1] ? 1 : 0);
}

void CChartSeriesDlg::UpdateSelectedRow() {
  QTreeWidgetItem* row = m_pList->currentItem();
  if (row == nullptr)
    return;
  row->setText(kColour, QString::number(m_pColour->Colour()));
  ShowColourOf(row, m_pColour->Colour());
  row->setText(kStyle, m_pStyle->currentText());
  row->setText(kAxis, m_pAxis->currentText());
}

void CChartSeriesDlg::CheckAll(bool checked) {
  for (int i = 0; i < m_pList->topLevelItemCount(); ++i)
    m_pList->topLevelItem(i)->setCheckState(kQualified, checked ? Qt::Checked : Qt::Unchecked);
  CountSelected();
}

void CChartSeriesDlg::Apply() {
  for (int i = 0; i < m_pList->topLevelItemCount() && i < m_model.ItemCount(); ++i) {
    const QTreeWidgetItem* row = m_pList->topLevelItem(i);
    CVelmoraChartItem& item = m_model.Item(i);
    item.m_bShown = row->checkState(kQualified) == Qt::Checked;
    item.m_color = static_cast<ChartColour>(row->text(kColour).toUInt());
    item.m_nLineStyle = ChartLineStyleValue(row->text(kStyle));
    item.m_nAxis = row->text(kAxis) == kAxes[0] ? kChartLeftAxis : kChartRightAxis;
  }
  m_model.SetAutomaticAssignment(m_pAutomatic->isChecked());
  m_model.SetKeepPeaks(m_pKeepPeaks->isChecked());
}
