#include "acquisition/gui/opc_data_view.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "acquisition/gui/backup_progress_display.h"
#include "acquisition/gui/backup_settings_dlg.h"
#include "acquisition/gui/data_colour_commands.h"
#include "acquisition/gui/data_view_controls.h"
#include "acquisition/gui/export_data_dlg.h"
#include "acquisition/gui/historical_data_model.h"
#include "acquisition/gui/notice_queue.h"
#include "acquisition/gui/panel_flow.h"
#include "acquisition/gui/real_time_data_model.h"
#include "acquisition/gui/window_time.h"
#include "base/app_context.h"
#include "base/settings.h"
#include "forward/acquisition_forwarding.h"
#include "ui/thread_progress_dlg.h"

namespace {

constexpr char kTitle[] = "Data Acquisition and Storage";
constexpr char kDescription[] =
    "Acquire the values of the configured items periodically, watch them in the tables below "
    "and record every acquisition in the Velmora database.";
constexpr char kRealTimeTitle[] = "Real-Time OPC Data";
constexpr char kHistoryTitle[] = "Historical OPC Data";
constexpr int kBasePeriodMs = 1000;
// Fitting the columns of a long list is slow: only the first data sets fit them.
constexpr int kFitColumnsBelow = 50;
constexpr int kMinimumRealTimeRows = 3;
constexpr int kMinimumHistoryRows = 5;
// The panels' least height in the splitter: a line of fields, the rest scrolls.
constexpr int kMinimumPanelsHeight = 40;
// Set by the main frame on a splitter whose sizes it brought back from the last run.
constexpr char kRestoredSplitterProperty[] = "restoredLayout";
constexpr int kQualifiedIdDisplay = 0;
constexpr int kShortIdDisplay = 1;
// The project name when none is loaded: no name root is proposed then.
constexpr char kEmptyProject[] = "Empty Project";
constexpr char kCopyText[] = "Copy to Clipboard";
// The window proposed in the pickers before the user sets one.
constexpr int kProposedWindowSeconds = 3600;

// The engine's observer when no view listens (the engine must always have one).
IAcquisitionObserver& SilentObserver() {
  static IAcquisitionObserver observer;
  return observer;
}

QTableView* MakeTable(QWidget* parent) {
  auto* table = new QTableView(parent);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  table->setTabKeyNavigation(false);  // Tab moves on to the next control
  table->setAlternatingRowColors(true);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return table;
}

QGroupBox* Framed(const char* title, QWidget* content, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->addWidget(content);
  return box;
}

}  // namespace

COPCDataView::COPCDataView(CAcquisitionEngine& engine, AppContext& context,
                           std::function<std::string()> projectName, QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_engine(engine),
      m_context(context),
      m_fnProjectName(std::move(projectName)),
      m_colourCommands(context.settings),
      m_pNotices(new CNoticeQueue(context.prompt, this)),
      m_pServerBox(new CServerAttributesBox(this)),
      m_pModeBox(new CAcquisitionModeBox(this)),
      m_pStatusBox(new CAcquisitionStatusBox(this)),
      m_pSplitter(new QSplitter(Qt::Vertical, this)),
      m_pRealTimeTable(MakeTable(this)),
      m_pHistoryTable(MakeTable(this)),
      m_pTimer(new QTimer(this)) {
  m_pProgress = new CBackupProgressDisplay(this);
  BuildLayout();
  // The copy of the acquired data: Ctrl+C in the history and its context menu.
  m_pCopyAction = new QAction(kCopyText, m_pHistoryTable);
  m_pCopyAction->setShortcut(QKeySequence::Copy);
  m_pCopyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  m_pHistoryTable->addAction(m_pCopyAction);
  m_pHistoryTable->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(m_pCopyAction, &QAction::triggered, this, &COPCDataView::CopyToClipboard);
  m_fnChooseColour = [this](const QColor& initial, const QString& title) -> std::optional<QColor> {
    const QColor chosen = QColorDialog::getColor(initial, this, title);
    if (!chosen.isValid())
      return std::nullopt;
    return chosen;
  };
  m_pTimer->setInterval(kBasePeriodMs);
  connect(m_pTimer, &QTimer::timeout, this, &COPCDataView::OnBaseTick);
  connect(m_pModeBox, &CAcquisitionModeBox::ModeChosen, this,
          [this](int mode) { m_engine.SetMode(static_cast<AcquisitionMode>(mode)); });
  connect(m_pStatusBox, &CAcquisitionStatusBox::DecimalsChosen, this,
          [this](int decimals) { m_engine.SetDecimals(decimals); });
  Attach();
}

COPCDataView::~COPCDataView() {
  Detach();
}

void COPCDataView::BuildLayout() {
  // The panels, the real-time list and the history share the height in one splitter: in a
  // small window the tables keep their rows in sight and the panels scroll instead; in a
  // narrow one the panels wrap into rows, so nothing needs scrolling sideways.
  m_pSplitter->setObjectName("AcquisitionPanes");
  auto* panels = new CPanelFlow(this);
  panels->AddPanel(m_pServerBox, 1);
  panels->AddPanel(m_pModeBox, 0);
  panels->AddPanel(m_pStatusBox, 1);
  auto* scroller = new QScrollArea(m_pSplitter);
  scroller->setObjectName("AcquisitionPanels");
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroller->setWidget(panels);
  scroller->setMinimumHeight(kMinimumPanelsHeight);
  m_pSplitter->addWidget(scroller);

  m_pRealTimeTable->setObjectName("RealTimeTable");
  m_pHistoryTable->setObjectName("HistoryTable");
  m_pRealTimeTable->horizontalHeader()->setStretchLastSection(true);
  m_pSplitter->addWidget(Framed(kRealTimeTitle, m_pRealTimeTable, m_pSplitter));
  m_pSplitter->addWidget(Framed(kHistoryTitle, m_pHistoryTable, m_pSplitter));
  // The history takes most of the height; the real-time list shows a handful of items.
  m_pSplitter->setStretchFactor(0, 0);
  m_pSplitter->setStretchFactor(1, 2);
  m_pSplitter->setStretchFactor(2, 3);
  m_pSplitter->setChildrenCollapsible(false);
  ContentLayout()->addWidget(m_pSplitter, 1);
  // However small the window, the tables keep a few rows in sight.
  const int rowHeight = m_pHistoryTable->verticalHeader()->defaultSectionSize();
  // The header has no model yet: a row's height plus its frame stands for it.
  const int chrome = rowHeight + 8 + m_pHistoryTable->horizontalScrollBar()->sizeHint().height() +
                     2 * m_pHistoryTable->frameWidth() + rowHeight / 2;
  m_pRealTimeTable->setMinimumHeight(chrome + kMinimumRealTimeRows * rowHeight);
  m_pHistoryTable->setMinimumHeight(chrome + kMinimumHistoryRows * rowHeight);

  setTabOrder(m_pModeBox->EndTime(), m_pStatusBox->Decimals());
  setTabOrder(m_pStatusBox->Decimals(), m_pRealTimeTable);
  setTabOrder(m_pRealTimeTable, m_pHistoryTable);
  m_pModeBox->SetWindowStart(QDateTime::currentDateTime());
  m_pModeBox->SetWindowEnd(QDateTime::currentDateTime().addSecs(kProposedWindowSeconds));
}

void COPCDataView::Attach() {
  m_pRealTimeModel = new CRealTimeDataModel(m_engine.RealTime(), this);
  m_pHistoryModel = new CHistoricalDataModel(m_engine.History(), this);
  m_pRealTimeTable->setModel(m_pRealTimeModel);
  m_pHistoryTable->setModel(m_pHistoryModel);
  m_pHistoryModel->SetColours(m_colourCommands.Colours());
  m_pStatusBox->SetDecimals(m_engine.Decimals());
  const QDateTime now = PickerNow(m_context.clock);
  m_pModeBox->SetWindowStart(now);
  m_pModeBox->SetWindowEnd(now.addSecs(kProposedWindowSeconds));
  m_engine.SetObserver(this);
  m_pBackups = std::make_unique<CBackupCoordinator>(m_context, m_engine);
  m_pProgress->SetLog(&m_context.log);
  m_pBackups->SetDisplay(m_pProgress);
  m_pForwarding = std::make_unique<CAcquisitionForwarding>(m_context);
  if (m_engine.IsRunning() || m_engine.DataSetCount() > 0) {
    // Made for an acquisition that runs or may be resumed: show it, reset nothing.
    const bool running = m_engine.IsRunning();
    OnListsReset();
    ShowModeFromEngine();
    OnRunningChanged(running);
    OnTimeFieldsVisible(running);
    RefreshAttributes();
  } else {
    ResetView();
  }
  m_pTimer->start();
}

void COPCDataView::Detach() {
  m_pTimer->stop();
  // Waits for a running save or copy: its rows and record go with the coordinator.
  m_pBackups.reset();
  m_pForwarding.reset();
  m_pProgress->CloseAll();
  m_pProgress->SetLog(nullptr);
  m_engine.SetObserver(&SilentObserver());
  m_pRealTimeTable->setModel(nullptr);
  m_pHistoryTable->setModel(nullptr);
}

bool COPCDataView::IsAcquisitionRunning() const {
  return m_engine.IsRunning();
}

void COPCDataView::ResetView() {
  m_engine.ResetView();
  ShowModeFromEngine();
  m_pModeBox->SetModeButtonsEnabled(!m_engine.IsRunning());
  m_pStatusBox->ShowDataSetCount(0);
  emit CommandStatesChanged();
}

void COPCDataView::OnViewShown() {
  RefreshAttributes();
  if (!m_bPanesSized)
    QTimer::singleShot(0, this, &COPCDataView::SizePanesOnce);
}

void COPCDataView::SizePanesOnce() {
  // A layout the user kept from the last run stays as it was.
  if (m_bPanesSized || m_pSplitter->property(kRestoredSplitterProperty).toBool())
    return;
  const QList<int> sizes = m_pSplitter->sizes();
  int total = 0;
  for (const int size : sizes)
    total += size;
  if (sizes.size() != 3 || total <= 0)
    return;  // not laid out yet
  m_bPanesSized = true;
  // The tables keep their rows; what is left goes to the panels, up to all they need; the
  // rest to the tables, most of it to the history.
  const int realTime = m_pSplitter->widget(1)->minimumSizeHint().height();
  const int history = m_pSplitter->widget(2)->minimumSizeHint().height();
  const int wanted = std::max(kMinimumPanelsHeight, m_pSplitter->widget(0)->sizeHint().height());
  const int panels = std::clamp(total - realTime - history, kMinimumPanelsHeight, wanted);
  const int extra = std::max(0, total - panels - realTime - history);
  m_pSplitter->setSizes({panels, realTime + extra * 2 / 5, history + extra - extra * 2 / 5});
}

void COPCDataView::ShowModeFromEngine() {
  m_pModeBox->SetMode(m_engine.Window().Mode());
}

// ---- Base tick ----

void COPCDataView::OnBaseTick() {
  // The engine's work is over when Tick returns: whatever runs an event loop from here
  // on (a report, a slot of the chart notice) meets an engine between two ticks.
  TickOutcome outcome = m_engine.Tick();
  QPointer<COPCDataView> self(this);
  // The reports first, as when the cycle asked them itself.
  m_pNotices->Show(std::move(outcome.notices));
  if (self.isNull())
    return;  // the window went away while a report was open
  if (m_pForwarding != nullptr)
    m_pForwarding->OnTick(m_engine.History().Count() - m_engine.SettledRowCount());
  if (outcome.chartUpdate)
    emit ChartUpdate(outcome.basePeriodMs);
  if (self.isNull())
    return;
  if (outcome.backup != BackupDue::kNone)
    OnBackup(outcome.backup == BackupDue::kFinal);
  if (m_pBackups != nullptr)
    m_pBackups->Poll();
  if (self.isNull())
    return;
  emit TickDone();
}

bool COPCDataView::Confirm(const ReportRequest& request) {
  return m_context.prompt.ShowReport(request) != ReportAnswer::kSecondButton;
}

// ---- Commands ----

std::vector<CommandId> COPCDataView::Commands() const {
  std::vector<CommandId> commands = {
      CommandId::kStartAcquisition,      CommandId::kResumeAcquisition,
      CommandId::kStopAcquisition,       CommandId::kOpcDataDisplay,
      CommandId::kAlwaysShowLastData,    CommandId::kShowFullyQualifiedId,
      CommandId::kShowShortId,           CommandId::kClearOpcData,
      CommandId::kReconnectOnServerLoss, CommandId::kBackupOpcData,
      CommandId::kAutoBackupSettings};
  for (const CommandId colour : CDataColourCommands::Commands())
    commands.push_back(colour);
  return commands;
}

void COPCDataView::OnCommand(CommandId id) {
  switch (id) {
    case CommandId::kStartAcquisition:
      return StartAcquisition();
    case CommandId::kResumeAcquisition:
      return ResumeAcquisition();
    case CommandId::kStopAcquisition:
      return StopAcquisition();
    case CommandId::kAlwaysShowLastData:
      return ToggleAlwaysShowLast();
    case CommandId::kShowFullyQualifiedId:
      return ShowFullyQualifiedId();
    case CommandId::kShowShortId:
      return ShowShortId();
    case CommandId::kClearOpcData:
      return ClearOpcData();
    case CommandId::kReconnectOnServerLoss:
      return ToggleReconnectOnServerLoss();
    case CommandId::kBackupOpcData:
      return BackupOpcData();
    case CommandId::kAutoBackupSettings:
      return AutoBackupSettings();
    default:
      return ChooseColour(id);  // the colour commands; others are not this view's
  }
}

ViewCommandState COPCDataView::CommandState(CommandId id) const {
  ViewCommandState state;
  const bool running = m_engine.IsRunning();
  const bool connected = m_engine.IsServerConnected();
  switch (id) {
    case CommandId::kStartAcquisition:
      state.enabled = connected && !running;
      break;
    case CommandId::kResumeAcquisition:
      state.enabled = connected && !running && m_engine.IsResumeAllowed();
      break;
    case CommandId::kStopAcquisition:
      state.enabled = running;
      break;
    case CommandId::kAlwaysShowLastData:
      state.checked = m_bAlwaysShowLast;
      break;
    case CommandId::kReconnectOnServerLoss:
      state.checked = m_engine.Outage().ReconnectOnServerLoss();
      break;
    case CommandId::kShowFullyQualifiedId:
    case CommandId::kShowShortId: {
      const int type = settings::Read(m_context.settings, settings::kTagDisplayType);
      state.checked = (id == CommandId::kShowShortId) == (type == kShortIdDisplay);
      break;
    }
    case CommandId::kOpcDataDisplay:
    case CommandId::kClearOpcData:
    case CommandId::kBackupOpcData:
    case CommandId::kAutoBackupSettings:
      break;
    default:
      state.swatch = m_colourCommands.Swatch(id);  // invalid for others
      break;
  }
  return state;
}

void COPCDataView::ApplyWindow() {
  IClock& clock = m_context.clock;
  const QDateTime start = m_pModeBox->WindowStart();
  const QDateTime end = m_pModeBox->WindowEnd();
  m_engine.SetWindow(WindowSecondsFromPickers(start.date(), start.time(), clock),
                     WindowSecondsFromPickers(end.date(), end.time(), clock));
}

void COPCDataView::StartAcquisition() {
  ApplyWindow();
  m_engine.StartCommand();
  emit CommandStatesChanged();
}

void COPCDataView::ResumeAcquisition() {
  ApplyWindow();
  m_engine.ResumeCommand();
  emit CommandStatesChanged();
}

void COPCDataView::StopAcquisition() {
  QPointer<COPCDataView> self(this);
  const bool confirmed = Confirm(m_engine.StopConfirmation());
  // The acquisition may have ended, or the view been detached, while the question was open.
  if (self.isNull())
    return;
  if (confirmed && m_engine.IsRunning())
    m_engine.Stop(m_engine.BackupClock().IsAutomatic());
  emit CommandStatesChanged();
}

void COPCDataView::ClearOpcData() {
  QPointer<COPCDataView> self(this);
  const bool confirmed = Confirm(m_engine.ClearConfirmation());
  if (self.isNull())
    return;
  if (confirmed)
    m_engine.Clear();
  emit CommandStatesChanged();
}

void COPCDataView::BackupOpcData() {
  if (m_pBackups == nullptr || m_pBackups->RefuseWhileActive(kJobKindSave))
    return;
  if (m_engine.BackupClock().IsAutomatic()) {
    m_pBackups->SaveAutomatic();
    return;
  }
  CExportDataDlg dialog(m_pBackups->DatabaseFolder(), m_context.prompt, this);
  if (dialog.exec() != QDialog::Accepted || m_pBackups == nullptr)
    return;
  settings::Write(m_context.settings, settings::kSaveOPCDataPath, dialog.Folder());
  m_pBackups->SaveTo(dialog.Folder(), dialog.FileName(), dialog.Separator());
}

void COPCDataView::AutoBackupSettings() {
  if (m_pBackups == nullptr)
    return;
  BackupSettings initial = m_pBackups->Settings();
  if (initial.path.empty() || !QDir(QString::fromStdString(initial.path)).exists())
    initial.path = m_pBackups->DatabaseFolder();
  const std::string project = m_fnProjectName ? m_fnProjectName() : std::string();
  initial.nameRoot = project == kEmptyProject ? std::string() : project;
  CBackupSettingsDlg dialog(initial, m_context.clock, m_context.prompt, this);
  dialog.SetForwardTo(settings::Read(m_context.settings, settings::kForwardTo));
  if (dialog.exec() != QDialog::Accepted || m_pBackups == nullptr)
    return;
  // Taken at the next start of an acquisition.
  settings::Write(m_context.settings, settings::kForwardTo, dialog.ForwardTo());
  m_pBackups->ApplySettings(dialog.Chosen());
  emit CommandStatesChanged();
}

void COPCDataView::CopyToClipboard() {
  if (m_pBackups != nullptr)
    m_pBackups->CopyToClipboard();
}

CThreadProgressDlg* COPCDataView::SaveProgressDialog() const {
  return m_pProgress->SaveDialog();
}

CThreadProgressDlg* COPCDataView::CopyProgressDialog() const {
  return m_pProgress->CopyDialog();
}

void COPCDataView::ToggleReconnectOnServerLoss() {
  const bool on = !m_engine.Outage().ReconnectOnServerLoss();
  m_engine.SetReconnectOnServerLoss(on);
  settings::Write(m_context.settings, settings::kReconnectOnServerLoss, on ? 1 : 0);
  m_context.log.Log(on ? "Reconnection to a Lost OPC Server: On - Data Acquisition Goes On after "
                         "a Server Restart"
                       : "Reconnection to a Lost OPC Server: Off - Data Acquisition Stops when "
                         "the Server is Lost",
                    kLogDataAcquisition);
  emit CommandStatesChanged();
}

void COPCDataView::ToggleAlwaysShowLast() {
  const bool on = !m_bAlwaysShowLast;
  m_bAlwaysShowLast = on;
  if (on && m_engine.DataSetCount() > 0)
    m_pHistoryTable->scrollToBottom();
  emit AlwaysShowLastChanged(on);
  emit CommandStatesChanged();
}

void COPCDataView::ShowFullyQualifiedId() {
  SetTagDisplayType(kQualifiedIdDisplay);
}

void COPCDataView::ShowShortId() {
  SetTagDisplayType(kShortIdDisplay);
}

void COPCDataView::SetTagDisplayType(int type) {
  settings::Write(m_context.settings, settings::kTagDisplayType, type);
  RefreshHeadings();
  m_pHistoryTable->viewport()->update();
  m_pHistoryTable->resizeColumnsToContents();
  emit HeadingsChanged();
  emit CommandStatesChanged();
}

void COPCDataView::RefreshHeadings() {
  const int type = settings::Read(m_context.settings, settings::kTagDisplayType);
  QStringList headings;
  for (const std::string& heading : m_engine.ItemHeadings(type))
    headings << QString::fromStdString(heading);
  // The list keeps the columns it was built with, even if the configuration changed since.
  headings.resize(m_engine.History().ItemColumns());
  m_pHistoryModel->SetHeadings(headings);
}

void COPCDataView::ChooseColour(CommandId command) {
  if (!m_colourCommands.Choose(command, m_fnChooseColour))
    return;
  m_pHistoryModel->SetColours(m_colourCommands.Colours());
  emit CommandStatesChanged();
}

void COPCDataView::RefreshAttributes() {
  m_pServerBox->Show(m_engine.Attributes());
}

void COPCDataView::FitColumns() {
  m_pRealTimeTable->resizeColumnsToContents();
  m_pHistoryTable->resizeColumnsToContents();
}

// ---- Engine notices ----

void COPCDataView::OnCycle(int elapsedMs, int dataSetCount, const std::string& nextAcquisition,
                           const std::vector<int>& rewrittenRows) {
  m_pStatusBox->ShowCycle(elapsedMs, dataSetCount, QString::fromStdString(nextAcquisition));
  if (rewrittenRows.empty()) {
    m_pHistoryModel->Refresh();
  } else {
    const auto [first, last] = std::minmax_element(rewrittenRows.begin(), rewrittenRows.end());
    m_pHistoryModel->Refresh(*first, *last);
  }
  m_pRealTimeModel->ValuesChanged(0, m_engine.RealTime().Count() - 1);
  if (dataSetCount < kFitColumnsBelow)
    FitColumns();
  if (m_bAlwaysShowLast && dataSetCount > 0)
    m_pHistoryTable->scrollToBottom();
  // The first data set allows a Resume.
  emit CommandStatesChanged();
}

void COPCDataView::OnListsReset() {
  RefreshHeadings();
  m_pHistoryModel->ResetRows();
  m_pRealTimeModel->ResetRows();
  m_pStatusBox->ShowDataSetCount(m_engine.DataSetCount());
  FitColumns();
}

void COPCDataView::OnTimeFieldsVisible(bool visible) {
  m_pStatusBox->SetTimeFieldsVisible(visible);
}

void COPCDataView::OnRunningChanged(bool running) {
  if (m_pForwarding != nullptr) {
    if (running)
      m_pForwarding->OnStarted(m_engine.DatabasePath(), m_engine.AcquisitionId(),
                               m_fnProjectName ? m_fnProjectName() : std::string());
    else
      m_pForwarding->OnStopped();
  }
  m_pModeBox->SetModeButtonsEnabled(!running);
  emit RunningChanged(running);
  emit CommandStatesChanged();
}

void COPCDataView::OnWindowEndAdjusted(int64_t windowEnd) {
  m_pModeBox->SetWindowEnd(PickerTimeFromWindowSeconds(windowEnd, m_context.clock));
}

void COPCDataView::OnBackup(bool final) {
  if (m_pBackups != nullptr)
    m_pBackups->OnBackup(final);
  emit BackupDue(final);
}

void COPCDataView::OnServerAttributesChanged() {
  RefreshAttributes();
}

void COPCDataView::OnReconnectingChanged(bool) {
  RefreshAttributes();
  emit CommandStatesChanged();
}
