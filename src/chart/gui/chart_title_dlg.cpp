#include "chart/gui/chart_title_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "chart/gui/chart_colour_button.h"
#include "chart/gui/chart_preview.h"

namespace {

constexpr char kTitle[] = "Set Chart Title";
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

}  // namespace

CChartTitleDlg::CChartTitleDlg(CChartViewModel& model, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_pShow(new QCheckBox("Show Title on OPC Chart", this)),
      m_pLine1(new QLineEdit(this)),
      m_pLine2(new QLineEdit(this)),
      m_pFont(new QComboBox(this)),
      m_pItalic(new QCheckBox("Italic", this)),
      m_pBold(new QCheckBox("Bold", this)),
      m_pUnderline(new QCheckBox("Underline", this)),
      m_pSize(new QComboBox(this)),
      m_pColour(new CChartColourButton(this)),
      m_pBackground(new CChartColourButton(this)),
      m_pPreview(new CChartPreview(this)) {
  setWindowTitle(kTitle);
  const ChartTitleSettings& title = model.Title();
  QStringList families = QFontDatabase::families();
  if (!families.contains(QString::fromStdString(title.face)))
    families.prepend(QString::fromStdString(title.face));
  m_pFont->addItems(families);
  m_pFont->setCurrentText(QString::fromStdString(title.face));
  for (int size : kSizes)
    m_pSize->addItem(QString::number(size));
  m_pSize->setCurrentText(QString::number(title.size));
  m_pShow->setChecked(title.shown);
  m_pLine1->setText(QString::fromStdString(title.line1));
  m_pLine2->setText(QString::fromStdString(title.line2));
  m_pItalic->setChecked(title.italic);
  m_pBold->setChecked(title.bold);
  m_pUnderline->setChecked(title.underline);
  m_pColour->SetColour(title.color);
  m_pBackground->SetColour(model.BackgroundColour());

  auto* styles = new QHBoxLayout;
  styles->addWidget(m_pItalic);
  styles->addWidget(m_pBold);
  styles->addWidget(m_pUnderline);
  auto* form = new QFormLayout;
  form->addRow(m_pShow);
  form->addRow("Chart Title: ", m_pLine1);
  form->addRow("Chart Sub-Title: ", m_pLine2);
  form->addRow("Title Font: ", m_pFont);
  form->addRow(styles);
  form->addRow("Font Size: ", m_pSize);
  form->addRow("Font Color: ", m_pColour);
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
  resize(800, 380);

  for (QCheckBox* check : {m_pShow, m_pItalic, m_pBold, m_pUnderline})
    connect(check, &QCheckBox::toggled, this, &CChartTitleDlg::Refresh);
  for (QLineEdit* line : {m_pLine1, m_pLine2})
    connect(line, &QLineEdit::textChanged, this, &CChartTitleDlg::Refresh);
  for (QComboBox* list : {m_pFont, m_pSize})
    connect(list, &QComboBox::currentIndexChanged, this, &CChartTitleDlg::Refresh);
  connect(m_pColour, &CChartColourButton::ColourChanged, this, &CChartTitleDlg::Refresh);
  connect(m_pBackground, &CChartColourButton::ColourChanged, this, [this](ChartColour colour) {
    m_model.SetBackgroundColour(colour);
    m_model.Redraw();
    Refresh();
  });
  Refresh();
}

ChartTitleSettings CChartTitleDlg::Settings() const {
  ChartTitleSettings title;
  title.shown = m_pShow->isChecked();
  title.line1 = m_pLine1->text().toStdString();
  title.line2 = m_pLine2->text().toStdString();
  title.face = m_pFont->currentText().toStdString();
  title.size = m_pSize->currentText().toInt();
  title.italic = m_pItalic->isChecked();
  title.bold = m_pBold->isChecked();
  title.underline = m_pUnderline->isChecked();
  title.color = m_pColour->Colour();
  return title;
}

void CChartTitleDlg::Refresh() {
  m_pPreview->Show(m_model.Legend(), Settings(), m_pBackground->Colour());
}

void CChartTitleDlg::Apply() {
  m_model.Title() = Settings();
  m_model.SetBackgroundColour(m_pBackground->Colour());
  m_model.ApplyTitle();
}
