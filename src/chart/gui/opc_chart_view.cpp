#include "chart/gui/opc_chart_view.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "acquisition/acquisition_engine.h"
#include "base/app_context.h"
#include "base/settings.h"
#include "chart/chart_image_rules.h"
#include "chart/chart_loaded_rows.h"
#include "chart/chart_view_rules.h"
#include "chart/gui/chart_colour_palette.h"
#include "chart/gui/chart_ctrl.h"
#include "chart/gui/chart_dlgs.h"
#include "chart/gui/chart_image_export.h"
#include "chart/gui/chart_qt_dates.h"
#include "db/sqlite_db.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/project_data.h"
#include "ui/colour_ref.h"
#include "ui/view_header.h"

namespace {
constexpr char kLiveTitle[] = "OPC Data Visualization";
constexpr char kLiveDescription[] =
    "The values of the running acquisition, drawn in real time against the left and right axes.";
constexpr char kProjectTitle[] = "Project Data Visualization";
constexpr char kProjectDescription[] =
    "The values of the recorded acquisition selected in Velmora Projects, paged by date and "
    "time.";
constexpr char kStartLabel[] = "Date and Time of Data Acquisition Start: ";
constexpr char kLastLiveLabel[] = "Date and Time of Last Data Acquisition: ";
constexpr char kEndLabel[] = "Date and Time of Data Acquisition End: ";
constexpr char kPointsLabel[] = "Number of Points on Chart: ";
constexpr char kPageStartLabel[] = "Page Time Start: ";
constexpr char kSpanLabel[] = "Page Time Span: ";
constexpr char kUpdateChart[] = "Update Chart";
constexpr char kRealTime[] = "Real-Time Chart Update";
constexpr const char* kButtonTexts[] = {"|<<", "<<", "<", ">", ">>", ">>|"};
constexpr char kNoData[] = "No data to display";
constexpr char kNoTable[] =
    "Internal Error in COPCChartView::OnShowWindow !!! Please Call Quorix ...";
constexpr char kLoading[] = "Loading the recorded acquisition ...";
constexpr int kLoadPollMs = 100;
constexpr char kDateFormat[] = "dd/MM/yyyy HH:mm:ss";
constexpr char kBackgroundTitle[] = "Background Color";

const CommandId kChartCommands[] = {
    CommandId::kChartTitleOptions,    CommandId::kChartBackgroundColour,
    CommandId::kChartSeriesSelection, CommandId::kLeftAxis,
    CommandId::kLeftAxisAutomatic,    CommandId::kLeftAxisManual,
    CommandId::kLeftAxisSetRange,     CommandId::kRightAxis,
    CommandId::kRightAxisAutomatic,   CommandId::kRightAxisManual,
    CommandId::kRightAxisSetRange,    CommandId::kChartLegendOptions,
    CommandId::kChartSaveImage,       CommandId::kChartCopyToClipboard,
    CommandId::kLeftAxisAttributes,   CommandId::kRightAxisAttributes,
};

QDateTimeEdit* DateField(QWidget* parent, bool readOnly) {
  auto* field = new QDateTimeEdit(parent);
  field->setDisplayFormat(kDateFormat);
  field->setReadOnly(readOnly);
  if (readOnly)
    field->setButtonSymbols(QAbstractSpinBox::NoButtons);
  return field;
}

}  // namespace

COPCChartView::COPCChartView(ChartMode mode, AppContext& context, CSQLite& db,
                             CAcquisitionEngine* engine, CPrjDataView* dataView, QWidget* parent)
    : CVelmoraView(kLiveTitle, kLiveDescription, parent),
      m_mode(mode),
      m_pContext(&context),
      m_pDb(&db),
      m_pEngine(engine),
      m_pDataView(dataView) {
  m_fnChooseColour = [this](const QColor& initial, const QString& title) -> std::optional<QColor> {
    const QColor chosen = QColorDialog::getColor(initial, this, title);
    if (!chosen.isValid())
      return std::nullopt;
    return chosen;
  };
  m_pLoadTimer = new QTimer(this);
  m_pLoadTimer->setInterval(kLoadPollMs);
  connect(m_pLoadTimer, &QTimer::timeout, this, [this] {
    if (m_pOwnData && m_pOwnData->IsLoading())
      return;
    m_pLoadTimer->stop();
    if (isVisible())
      OnViewShown();
  });
  BuildLayout();
  CreateModel();
  UpdateTexts();
  ShowFields();
}

COPCChartView::~COPCChartView() = default;

void COPCChartView::BuildLayout() {
  // The fields and the page controls each take two short lines, so a window 1024 pixels
  // wide shows every one of them without scrolling sideways.
  m_pFieldRow = new QWidget(this);
  auto* fields = new QGridLayout(m_pFieldRow);
  fields->setContentsMargins(0, 0, 0, 0);
  fields->setVerticalSpacing(2);
  m_pStart = DateField(m_pFieldRow, true);
  m_pLast = DateField(m_pFieldRow, true);
  m_pLastLabel = new QLabel(kLastLiveLabel, m_pFieldRow);
  m_pPoints = new QLineEdit(m_pFieldRow);
  m_pPoints->setReadOnly(true);
  m_pPoints->setMaximumWidth(90);
  fields->addWidget(new QLabel(kStartLabel, m_pFieldRow), 0, 0);
  fields->addWidget(m_pStart, 0, 1);
  fields->setColumnMinimumWidth(2, 12);
  fields->addWidget(new QLabel(kPointsLabel, m_pFieldRow), 0, 3);
  fields->addWidget(m_pPoints, 0, 4);
  fields->addWidget(m_pLastLabel, 1, 0);
  fields->addWidget(m_pLast, 1, 1);
  fields->setColumnStretch(5, 1);

  m_pChart = new CChartCtrl(this);
  m_pChart->setMinimumSize(320, 200);
  m_pNoData = new QLabel(kNoData, this);
  m_pNoData->setAlignment(Qt::AlignCenter);

  auto* navigation = new QHBoxLayout;
  for (int i = 0; i < kButtonCount; ++i) {
    m_pButtons[i] = new QPushButton(kButtonTexts[i], this);
    m_pButtons[i]->setMaximumWidth(44);
    connect(m_pButtons[i], &QPushButton::clicked, this, [this, i] { Navigate(i); });
    navigation->addWidget(m_pButtons[i]);
  }
  m_pRealTime = new QPushButton(kRealTime, this);
  m_pRealTime->setCheckable(true);
  connect(m_pRealTime, &QPushButton::clicked, this, &COPCChartView::OnRealTime);
  navigation->addSpacing(8);
  navigation->addWidget(m_pRealTime);
  navigation->addStretch(1);
  auto* page = new QHBoxLayout;
  page->addWidget(new QLabel(kPageStartLabel, this));
  m_pPageStart = DateField(this, false);
  page->addWidget(m_pPageStart);
  page->addSpacing(8);
  page->addWidget(new QLabel(kSpanLabel, this));
  m_pSpan = new QComboBox(this);
  for (int i = 0; i < kChartSpanCount; ++i)
    m_pSpan->addItem(ChartSpanText(i));
  m_pSpan->setCurrentIndex(ChartSpanPosition(kDefaultChartSpanMinutes));
  connect(m_pSpan, &QComboBox::currentIndexChanged, this, &COPCChartView::OnSpanChanged);
  page->addWidget(m_pSpan);
  m_pUpdate = new QPushButton(kUpdateChart, this);
  connect(m_pUpdate, &QPushButton::clicked, this, &COPCChartView::OnUpdateChart);
  page->addWidget(m_pUpdate);
  page->addStretch(1);

  ContentLayout()->addWidget(m_pFieldRow);
  ContentLayout()->addWidget(m_pChart, 1);
  ContentLayout()->addWidget(m_pNoData, 1);
  ContentLayout()->addLayout(navigation);
  ContentLayout()->addLayout(page);
}

void COPCChartView::CreateModel() {
  m_pModel = std::make_unique<CChartViewModel>(*m_pContext, m_pChart->Model());
  m_pModel->SetLiveMode(m_mode == ChartMode::kLive);
  m_pModel->SetItemQuery([this](const std::string& statement, std::vector<QueryCell>& cells) {
    return m_pDb != nullptr
               ? m_pDb->GetQueryData(statement, {}, cells, SqlRun().Opening().Closing())
               : DbResult<int>(DbStatus::kOpenFailed);
  });
  m_pModel->SetPaintHook([this] {
    if (m_pChart->isVisible())
      m_pChart->repaint();
  });
  // Creating the view: span, background, the three axes.
  m_pModel->Create();
  m_bFillingFields = true;
  m_pSpan->setCurrentIndex(ChartSpanPosition(m_pModel->SpanMinutes()));
  m_bFillingFields = false;
}

void COPCChartView::SetMode(ChartMode mode) {
  m_mode = mode;
  m_pModel->SetLiveMode(mode == ChartMode::kLive);
  UpdateTexts();
  ShowFields();
}

void COPCChartView::SetAcquisitionId(int acquisitionId) {
  m_nAcquisitionId = acquisitionId;
}

void COPCChartView::ResetView() {
  m_pModel->Reset();
  m_pModel->SetSource(nullptr);
  m_pSource.reset();
  ShowFields();
}

void COPCChartView::UpdateTexts() {
  const bool live = m_mode == ChartMode::kLive;
  Header()->SetTitle(live ? kLiveTitle : kProjectTitle);
  Header()->SetDescription(live ? kLiveDescription : kProjectDescription);
  m_pLastLabel->setText(live ? kLastLiveLabel : kEndLabel);
}

bool COPCChartView::ChooseSource() {
  if (m_mode == ChartMode::kLive) {
    if (m_pEngine == nullptr)
      return false;
    if (!m_pSource)
      m_pSource = std::make_unique<CHistoryRowSource>(m_pEngine->History());
    m_pModel->SetSource(m_pSource.get());
    m_pModel->SetAcquisitionId(m_pEngine->AcquisitionId() > 0 ? m_pEngine->AcquisitionId()
                                                              : kNoChartAcquisition);
    m_pModel->SetAcquisitionPeriodMs(m_pEngine->Schedule().BasePeriodMs());
    return true;
  }
  // The data view's table only when it holds this acquisition as the database has it now
  // (rows added by a Resume or a new end load it again).
  CProjectData* data = m_pDataView != nullptr ? m_pDataView->Data() : nullptr;
  if (data == nullptr || m_nAcquisitionId == kNoAcquisition || data->IsLoading() ||
      data->NeedsLoad(m_nAcquisitionId)) {
    if (!m_pOwnData)
      m_pOwnData = std::make_unique<CProjectData>(*m_pDb, *m_pContext);
    if (m_nAcquisitionId != kNoAcquisition && m_pOwnData->NeedsLoad(m_nAcquisitionId) &&
        !m_pOwnData->IsLoading() && m_pOwnData->StartLoad(m_nAcquisitionId))
      m_pLoadTimer->start();
    data = m_pOwnData.get();
  }
  m_pSource = std::make_unique<CLoadedTableRowSource>(data->Recording());
  m_pModel->SetSource(m_pSource.get());
  m_pModel->SetAcquisitionId(m_nAcquisitionId);
  if (data->HasSummary())
    m_pModel->SetAcquisitionPeriodMs(static_cast<uint32_t>(data->Summary().updateRate));
  return true;
}

void COPCChartView::OnViewShown() {
  UpdateTexts();
  if (!ChooseSource()) {
    m_pContext->prompt.ShowMessage(kNoTable, MessageButtons::kOk, MessageIcon::kError);
    ShowFields();
    return;
  }
  if (m_pLoadTimer->isActive()) {
    // The rows come on the loader's worker; the chart is drawn when they are all there.
    m_pModel->SetSource(nullptr);
    m_pNoData->setText(kLoading);
    ShowFields();
    return;
  }
  m_pNoData->setText(kNoData);
  ShowFields();  // the chart is laid out before it is drawn
  m_pModel->OnShown();
  ShowFields();
  emit CommandStatesChanged();
}

void COPCChartView::ShowFields() {
  const bool enough = m_pModel->HasEnoughRows();
  const bool realTime = m_pModel->IsRealTime();
  const bool live = m_mode == ChartMode::kLive;
  m_pChart->setVisible(enough);
  m_pNoData->setVisible(!enough);
  m_pFieldRow->setVisible(enough);
  m_pUpdate->setVisible(enough && !realTime);
  m_pRealTime->setVisible(live);
  m_pRealTime->setChecked(realTime);
  for (QPushButton* button : m_pButtons)
    button->setVisible(!realTime);
  m_pPageStart->setEnabled(!realTime);
  m_bShowsChart = enough;
  m_bFillingFields = true;
  if (m_pModel->RowCount() > 0) {
    m_pStart->setDateTime(QDateTimeFromChartDate(m_pModel->AcquisitionStart()));
    m_pLast->setDateTime(QDateTimeFromChartDate(m_pModel->LastTime()));
    // Only a moved window rewrites the page start: the user may be typing a new one.
    if (m_pModel->WindowStart() != m_dShownPageStart) {
      m_dShownPageStart = m_pModel->WindowStart();
      m_pPageStart->setDateTime(QDateTimeFromChartDate(m_dShownPageStart));
    }
  }
  m_pPoints->setText(QString::number(m_pModel->PointCount()));
  m_bFillingFields = false;
}

void COPCChartView::OnChartUpdate(quint32 basePeriodMs) {
  if (m_mode != ChartMode::kLive || m_pEngine == nullptr)
    return;
  const bool visible = isVisible();
  if (visible) {
    // A new acquisition since the view was shown: its series and its fields.
    ChooseSource();
  }
  // The table already holds this cycle's row: whether the chart was drawn is what the
  // fields last showed, not the row count before the notice.
  const bool hadEnough = m_bShowsChart;
  m_pModel->OnCycleNotice(basePeriodMs, visible);
  if (!visible)
    return;
  if (!hadEnough && m_pModel->HasEnoughRows()) {
    ShowFields();
    m_pModel->InitFields();
    m_pModel->Redraw();
  }
  ShowFields();
}

void COPCChartView::OnHeadingsChanged() {
  m_pModel->SetTagDisplayType(settings::Read(m_pContext->settings, settings::kTagDisplayType));
  m_pChart->Model().RequestRedraw();
}

void COPCChartView::Navigate(int button) {
  bool moved = false;
  switch (button) {
    case kFirst:
      moved = m_pModel->First();
      break;
    case kPageBack:
      moved = m_pModel->Back(true);
      break;
    case kBack:
      moved = m_pModel->Back(false);
      break;
    case kForward:
      moved = m_pModel->Forward(false);
      break;
    case kPageForward:
      moved = m_pModel->Forward(true);
      break;
    case kLast:
      moved = m_pModel->Last();
      break;
    default:
      break;
  }
  if (!moved)
    QApplication::beep();
  ShowFields();
}

void COPCChartView::OnUpdateChart() {
  m_pModel->UpdateChart(ChartDateFromQDateTime(m_pPageStart->dateTime()));
  ShowFields();
}

void COPCChartView::OnRealTime() {
  m_pModel->SetRealTime(!m_pModel->IsRealTime());
  ShowFields();
}

void COPCChartView::OnSpanChanged(int position) {
  if (m_bFillingFields)
    return;
  m_pModel->SetSpanPosition(position);
  ShowFields();
}

std::vector<CommandId> COPCChartView::Commands() const {
  return {std::begin(kChartCommands), std::end(kChartCommands)};
}

ViewCommandState COPCChartView::CommandState(CommandId id) const {
  ViewCommandState state;
  switch (id) {
    case CommandId::kLeftAxisAutomatic:
      state.checked = !m_pModel->AxisRange(kChartLeftAxis).manual;
      break;
    case CommandId::kLeftAxisManual:
      state.checked = m_pModel->AxisRange(kChartLeftAxis).manual;
      break;
    case CommandId::kRightAxisAutomatic:
      state.checked = !m_pModel->AxisRange(kChartRightAxis).manual;
      break;
    case CommandId::kRightAxisManual:
      state.checked = m_pModel->AxisRange(kChartRightAxis).manual;
      break;
    case CommandId::kChartBackgroundColour:
      state.swatch = ColourFromColorRef(m_pModel->BackgroundColour());
      break;
    default:
      break;
  }
  return state;
}

void COPCChartView::OnCommand(CommandId id) {
  switch (id) {
    case CommandId::kChartTitleOptions:
      OpenTitleDialog();
      break;
    case CommandId::kChartBackgroundColour:
      ChooseBackground();
      break;
    case CommandId::kChartSeriesSelection:
      OpenSeriesDialog();
      break;
    // The axis buttons open their menus; the attributes dialog is the menus' last entry.
    case CommandId::kLeftAxis:
    case CommandId::kRightAxis:
    case CommandId::kLeftAxisAttributes:
    case CommandId::kRightAxisAttributes:
      OpenAxisDialog();
      break;
    case CommandId::kLeftAxisAutomatic:
    case CommandId::kLeftAxisManual:
      m_pModel->SetAxisManual(kChartLeftAxis, id == CommandId::kLeftAxisManual);
      break;
    case CommandId::kRightAxisAutomatic:
    case CommandId::kRightAxisManual:
      m_pModel->SetAxisManual(kChartRightAxis, id == CommandId::kRightAxisManual);
      break;
    case CommandId::kLeftAxisSetRange:
      OpenAxisRangeDialog(kChartLeftAxis);
      break;
    case CommandId::kRightAxisSetRange:
      OpenAxisRangeDialog(kChartRightAxis);
      break;
    case CommandId::kChartLegendOptions:
      OpenLegendDialog();
      break;
    case CommandId::kChartSaveImage:
      SaveImage();
      break;
    case CommandId::kChartCopyToClipboard:
      CopyImage();
      break;
    default:
      return;
  }
  ShowFields();
  emit CommandStatesChanged();
}

void COPCChartView::SetBackground(ChartColour colour, bool store) {
  m_pModel->SetBackgroundColour(colour);
  if (store)
    settings::Write(m_pContext->settings, settings::kChartBkgColor, static_cast<int32_t>(colour));
  m_pModel->Redraw();
}

namespace {

// The command bar's visible button of a command, by its text (a large button shows it on
// two lines); null when there is none.
QWidget* CommandButton(QWidget* window, const QString& text) {
  for (QToolButton* button : window->findChildren<QToolButton*>()) {
    if (button->isVisible() && button->text().replace('\n', ' ').trimmed() == text)
      return button;
  }
  return nullptr;
}

}  // namespace

void COPCChartView::ChooseBackground() {
  // The palette drops down from the command's button; "More Colors..." asks the chooser.
  CChartColourPalette palette(
      ColourFromColorRef(m_pModel->BackgroundColour()),
      [this](const QColor& current) { return m_fnChooseColour(current, kBackgroundTitle); }, this);
  const std::optional<QColor> chosen = palette.Pick(CommandButton(window(), kBackgroundTitle));
  if (chosen)
    SetBackground(ColorRefFromColour(*chosen), true);
}

QImage COPCChartView::ChartImage() const {
  return RenderChartWindow(*m_pChart);
}

void COPCChartView::SaveImage() {
  ExportChartImage(*m_pChart, *m_pContext, m_pDb->Path());
}

void COPCChartView::CopyImage() {
  const QImage image = ChartImage();
  if (!image.isNull())
    QGuiApplication::clipboard()->setImage(image);
}

void COPCChartView::OpenSeriesDialog() {
  CChartSeriesDlg dialog(*m_pModel, DecimalsSetting(*m_pContext), this);
  if (dialog.exec() == QDialog::Accepted) {
    dialog.Apply();
    m_pModel->ApplySerieAttributes();
    m_pModel->Redraw();
  }
}

void COPCChartView::OpenAxisDialog() {
  CChartAxisDlg dialog(*m_pModel, DecimalsSetting(*m_pContext), this);
  if (dialog.exec() == QDialog::Accepted)
    dialog.Apply();
}

void COPCChartView::OpenAxisRangeDialog(int axis) {
  CChartAxisRangeDlg dialog(*m_pModel, axis, DecimalsSetting(*m_pContext), this);
  if (dialog.exec() == QDialog::Accepted)
    dialog.Apply();
}

namespace {

// A dialog with a live preview may change the background while open: OK keeps what it
// set, Cancel puts the background back.
template <class Dialog>
void RunPreviewDialog(CChartViewModel& model, QWidget* parent) {
  const ChartColour background = model.BackgroundColour();
  Dialog dialog(model, parent);
  if (dialog.exec() == QDialog::Accepted) {
    dialog.Apply();
    model.Redraw();
  } else if (model.BackgroundColour() != background) {
    model.SetBackgroundColour(background);
    model.Redraw();
  }
}

}  // namespace

void COPCChartView::OpenLegendDialog() {
  RunPreviewDialog<CChartLegendDlg>(*m_pModel, this);
}

void COPCChartView::OpenTitleDialog() {
  RunPreviewDialog<CChartTitleDlg>(*m_pModel, this);
}
