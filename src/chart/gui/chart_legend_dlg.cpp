#include "chart/gui/chart_legend_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "chart/gui/chart_colour_button.h"
#include "chart/gui/chart_preview.h"

namespace {

constexpr char kTitle[] = "Set Chart Legend ";
constexpr const char* kLocations[] = {"Legend on Right of OPC Chart", "Legend on Left of OPC Chart",
                                      "Legend on Top of OPC Chart",
                                      "Legend on Bottom of OPC Chart"};

}  // namespace

CChartLegendDlg::CChartLegendDlg(CChartViewModel& model, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_pShow(new QCheckBox("Show Legend on OPC Chart", this)),
      m_pLocation(new QComboBox(this)),
      m_pDisplay(new QComboBox(this)),
      m_pShadow(new QCheckBox("Show Legend Shadow", this)),
      m_pTransparent(new QCheckBox("Transparent", this)),
      m_pColour(new CChartColourButton(this)),
      m_pText(new QComboBox(this)),
      m_pBackground(new CChartColourButton(this)),
      m_pPreview(new CChartPreview(this)) {
  setWindowTitle(kTitle);
  const ChartLegendSettings& legend = model.Legend();
  for (const char* location : kLocations)
    m_pLocation->addItem(location);
  m_pDisplay->addItems({"Display Horizontally", "Display Vertically"});
  m_pText->addItems({"Fully Qualified Identifier", "Short Identifier"});
  m_pShow->setChecked(legend.shown);
  m_pLocation->setCurrentIndex(legend.position);
  m_pDisplay->setCurrentIndex(legend.horizontal ? 0 : 1);
  m_pShadow->setChecked(legend.shadow);
  m_pTransparent->setChecked(legend.transparent);
  m_pColour->SetColour(legend.color);
  m_pText->setCurrentIndex(model.TagDisplayType() == 1 ? 1 : 0);
  m_pBackground->SetColour(model.BackgroundColour());

  auto* form = new QFormLayout;
  form->addRow(m_pShow);
  form->addRow("Legend Location: ", m_pLocation);
  form->addRow("Legend Display Mode: ", m_pDisplay);
  form->addRow(m_pShadow);
  form->addRow(m_pTransparent);
  form->addRow("Background Color: ", m_pColour);
  form->addRow("Legend Text: ", m_pText);
  form->addRow("Chart Background Color: ", m_pBackground);
  auto* upper = new QHBoxLayout;
  upper->addLayout(form);
  upper->addWidget(m_pPreview, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(upper, 1);
  layout->addWidget(buttons);
  resize(760, 360);

  for (QCheckBox* check : {m_pShow, m_pShadow, m_pTransparent})
    connect(check, &QCheckBox::toggled, this, &CChartLegendDlg::Refresh);
  for (QComboBox* list : {m_pLocation, m_pDisplay, m_pText})
    connect(list, &QComboBox::currentIndexChanged, this, &CChartLegendDlg::Refresh);
  connect(m_pColour, &CChartColourButton::ColourChanged, this, &CChartLegendDlg::Refresh);
  // The chart's background follows the button at once (stored only by its own command).
  connect(m_pBackground, &CChartColourButton::ColourChanged, this, [this](ChartColour colour) {
    m_model.SetBackgroundColour(colour);
    m_model.Redraw();
    Refresh();
  });
  Refresh();
}

ChartLegendSettings CChartLegendDlg::Settings() const {
  ChartLegendSettings legend;
  legend.shown = m_pShow->isChecked();
  legend.position = m_pLocation->currentIndex();
  legend.horizontal = m_pDisplay->currentIndex() == 0;
  legend.shadow = m_pShadow->isChecked();
  legend.transparent = m_pTransparent->isChecked();
  legend.color = m_pColour->Colour();
  return legend;
}

void CChartLegendDlg::Refresh() {
  // A shadow goes with an opaque legend; a transparent legend has no colour.
  if (m_pShadow->isChecked() && m_pTransparent->isChecked()) {
    const QSignalBlocker blocker(m_pTransparent);
    m_pTransparent->setChecked(false);
  }
  m_pTransparent->setEnabled(!m_pShadow->isChecked());
  m_pColour->setEnabled(!m_pTransparent->isChecked());
  m_pBackground->setEnabled(!m_pTransparent->isChecked());
  m_pPreview->Show(Settings(), m_model.Title(), m_pBackground->Colour());
}

void CChartLegendDlg::Apply() {
  m_model.Legend() = Settings();
  m_model.SetBackgroundColour(m_pBackground->Colour());
  m_model.SetTagDisplayType(m_pText->currentIndex());
  m_model.ApplyLegend();
}
