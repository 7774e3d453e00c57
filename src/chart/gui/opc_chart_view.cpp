#include "chart/gui/opc_chart_view.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/view_header.h"

namespace {
constexpr char kLiveTitle[] = "OPC Data Visualization";
constexpr char kLiveDescription[] =
    "The values of the running acquisition, drawn in real time against the left and right axes.";
constexpr char kProjectTitle[] = "Project Data Visualization";
constexpr char kProjectDescription[] =
    "The values of the recorded acquisition selected in Velmora Projects, drawn over its whole "
    "duration.";
constexpr char kLiveSource[] = "Source: the running acquisition";
constexpr char kProjectSource[] = "Source: project %1";
constexpr char kNoProject[] = "Source: no project selected";
constexpr char kNoData[] = "No data to display";
}  // namespace

COPCChartView::COPCChartView(ChartMode mode, QWidget* parent)
    : CVelmoraView(kLiveTitle, kLiveDescription, parent),
      m_mode(mode),
      m_pSource(new QLabel(this)),
      m_pChartArea(new QFrame(this)) {
  QFrame* area = m_pChartArea;
  area->setFrameShape(QFrame::StyledPanel);
  area->setAutoFillBackground(true);
  QPalette palette = area->palette();
  palette.setColor(QPalette::Window, Qt::white);
  area->setPalette(palette);
  auto* areaLayout = new QVBoxLayout(area);
  auto* empty = new QLabel(kNoData, area);
  empty->setAlignment(Qt::AlignCenter);
  areaLayout->addWidget(empty);
  ContentLayout()->addWidget(m_pSource);
  ContentLayout()->addWidget(area, 1);
  UpdateTexts();
}

void COPCChartView::SetMode(ChartMode mode) {
  m_mode = mode;
  UpdateTexts();
}

void COPCChartView::SetAcquisitionId(int acquisitionId) {
  m_nAcquisitionId = acquisitionId;
  UpdateTexts();
}

void COPCChartView::ResetView() {
  if (m_mode == ChartMode::Live)
    UpdateTexts();
}

void COPCChartView::UpdateTexts() {
  const bool live = m_mode == ChartMode::Live;
  Header()->SetTitle(live ? kLiveTitle : kProjectTitle);
  Header()->SetDescription(live ? kLiveDescription : kProjectDescription);
  if (live)
    m_pSource->setText(kLiveSource);
  else if (m_nAcquisitionId == kNoAcquisition)
    m_pSource->setText(kNoProject);
  else
    m_pSource->setText(QString(kProjectSource).arg(m_nAcquisitionId));
}
