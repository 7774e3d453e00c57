#include "explorer/gui/prj_data_view.h"

#include <QClipboard>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include "base/log.h"
#include "db/sqlite_db.h"
#include "explorer/explorer_reports.h"
#include "explorer/gui/explorer_session.h"
#include "explorer/gui/loaded_table_model.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"
#include "ui/thread_progress_dlg.h"
#include "ui/worker_job_poller.h"

namespace {
constexpr char kTitle[] = "Project OPC Data";
constexpr char kDescription[] =
    "The values of the recorded acquisition selected in Velmora Projects, read back from the "
    "database.";
constexpr char kServerId[] = "Server Id";
constexpr char kHost[] = "OPC Server Host";
constexpr char kStart[] = "Acquisition Start";
constexpr char kEnd[] = "Acquisition End";
constexpr char kCount[] = "Data Count";
constexpr char kNoClipboard[] = "The clipboard cannot be opened";
constexpr char kUnreadable[] = "The recorded data cannot be read from the database";
constexpr int kTimeColumnWidth = 50;
}  // namespace

CPrjDataView::CPrjDataView(IExplorerSession& session, QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pSession(&session),
      m_pTable(new QTableView(this)),
      m_pDamage(new QLabel(this)) {
  auto* form = new QFormLayout;
  for (const char* label : {kServerId, kHost, kStart, kEnd, kCount}) {
    auto* value = new QLabel(this);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(label) + ":", value);
    m_summary.emplace_back(label, value);
  }
  ContentLayout()->addLayout(form);
  // "K of N data sets could not be read" after a load that left some unread.
  m_pDamage->setStyleSheet("color: #ff0000; font-weight: bold;");
  m_pDamage->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_pDamage->hide();
  ContentLayout()->addWidget(m_pDamage);
  m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pTable->setShowGrid(true);
  m_pTable->verticalHeader()->setDefaultSectionSize(m_pTable->fontMetrics().height() + 4);
  m_pTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ContentLayout()->addWidget(m_pTable, 1);
  m_pTable->installEventFilter(this);

  m_showTimer.setSingleShot(true);
  m_showTimer.setInterval(kShowDelayMs);
  connect(&m_showTimer, &QTimer::timeout, this, &CPrjDataView::Load);
  m_batchTimer.setInterval(kRowBatchMs);
  connect(&m_batchTimer, &QTimer::timeout, this, [this] {
    if (m_pModel != nullptr)
      m_pModel->SyncRows();
  });
  auto* copy = new QShortcut(QKeySequence::Copy, this);
  copy->setContext(Qt::WidgetWithChildrenShortcut);
  connect(copy, &QShortcut::activated, this, &CPrjDataView::CopyToClipboard);

  m_pData = std::make_unique<CProjectData>(session.Database(), session.Context());
  m_pModel = std::make_unique<CLoadedTableModel>(m_pData->Recording());
  m_pModel->SetColours(ProjectDataColours(session.Context().settings));
  m_pTable->setModel(m_pModel.get());
  m_pPoller = std::make_unique<CWorkerJobPoller>(
      m_pData->Job(), [this](CWorkerJob&, int32_t state) { OnLoadTick(state); });
}

CPrjDataView::~CPrjDataView() {
  if (m_pData != nullptr)
    m_pData->WaitForLoad();
  m_pTable->setModel(nullptr);
}

void CPrjDataView::SetAcquisitionId(int acquisitionId) {
  m_nAcquisitionId = acquisitionId;
}

int CPrjDataView::LoadedAcquisitionId() const {
  return m_pData != nullptr ? m_pData->LoadedAcquisitionId() : kNoAcquisition;
}

bool CPrjDataView::IsLoading() const {
  return m_pData != nullptr && m_pData->IsLoading();
}

QLabel* CPrjDataView::Summary(const char* label) const {
  for (const auto& [name, value] : m_summary) {
    if (std::string(name) == label)
      return value;
  }
  return nullptr;
}

void CPrjDataView::OnViewShown() {
  if (m_pData == nullptr || m_nAcquisitionId == kNoAcquisition || IsLoading())
    return;
  if (!m_pData->NeedsLoad(m_nAcquisitionId))
    return;
  m_showTimer.start();
}

void CPrjDataView::Load() {
  if (m_pData == nullptr || IsLoading() || m_nAcquisitionId == kNoAcquisition)
    return;
  for (const auto& entry : m_summary)
    entry.second->clear();
  m_pDamage->clear();
  m_pDamage->hide();
  emit LoadStarted(m_nAcquisitionId);
  m_pModel->BeginReset();
  const bool started = m_pData->StartLoad(m_nAcquisitionId);
  m_pModel->EndReset();
  ++m_nLoads;
  ShowSummary();
  m_pTable->setColumnWidth(0, kTimeColumnWidth);
  if (m_pProgress != nullptr)
    m_pProgress->deleteLater();
  m_pProgress =
      new CThreadProgressDlg(CThreadProgressDlg::kKindLoad, kLoadingTitle, 0,
                             std::max(1, m_pData->ExpectedRows()), kLoadingStartText, this);
  connect(m_pProgress, &CThreadProgressDlg::closed, this, [this] {
    if (m_pProgress != nullptr)
      m_pProgress->deleteLater();
    m_pProgress = nullptr;
  });
  m_pProgress->show();
  if (started) {
    m_batchTimer.start();
    m_pPoller->Start();
  } else {
    OnLoadTick(kJobFailed);
  }
  emit CommandStatesChanged();
}

void CPrjDataView::ShowSummary() {
  if (!m_pData->HasSummary())
    return;
  const AcquisitionSummary& summary = m_pData->Summary();
  Summary(kServerId)->setText(QString::fromStdString(summary.serverId));
  Summary(kHost)->setText(QString::fromStdString(summary.host));
  Summary(kStart)->setText(QString::fromStdString(summary.start));
  Summary(kEnd)->setText(QString::fromStdString(summary.end));
  Summary(kCount)->setText(QString::number(summary.dataCount));
}

void CPrjDataView::OnLoadTick(int32_t state) {
  const QString text = QString::fromStdString(m_pData->ProgressText(state));
  if (!IsFinalJobState(state)) {
    if (m_pProgress != nullptr)
      m_pProgress->SetProgress(m_pData->Job().Done(), text);
    return;
  }
  // The batch timer goes on: pages read later (scrolling) are shown by it.
  m_pModel->SyncRows();
  // Fitting widths reads the rows near the top only, so it stays quick on long tables.
  m_pTable->resizeColumnsToContents();
  if (m_pProgress != nullptr) {
    m_pProgress->SetProgress(m_pData->Job().Done(), text);
    m_pProgress->Finish(text);
  }
  const std::string damage = state == kJobFinished ? m_pData->DamageText() : std::string();
  if (!damage.empty()) {
    m_pDamage->setText(QString::fromStdString(damage));
    m_pDamage->show();
    m_pSession->Context().prompt.ShowReport(DamagedDataReport(damage));
  }
  emit CommandStatesChanged();
  emit LoadEnded(m_pData->LoadedAcquisitionId());
}

void CPrjDataView::CopyToClipboard() {
  if (m_pData == nullptr || IsLoading())
    return;
  AppContext& context = m_pSession->Context();
  const uint32_t start = context.clock.TickCount();
  std::string text;
  const bool read = ClipboardText(m_pData->Recording(), text);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || !read) {
    context.prompt.ShowReport(CopyErrorReport(read ? kNoClipboard : kUnreadable));
    return;
  }
  clipboard->clear();
  clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  context.log.Log(Format(kCopiedLine, static_cast<int>(context.clock.TickCount() - start)),
                  kLogProjects);
}

void CPrjDataView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
      event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  CVelmoraView::keyPressEvent(event);
}

bool CPrjDataView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pTable &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy)) {
      event->accept();
      if (event->type() == QEvent::KeyPress)
        CopyToClipboard();
      return true;
    }
  }
  return CVelmoraView::eventFilter(watched, event);
}

std::vector<CommandId> CPrjDataView::Commands() const {
  return {CommandId::kProjectCopyToClipboard};
}

void CPrjDataView::OnCommand(CommandId id) {
  if (id == CommandId::kProjectCopyToClipboard)
    CopyToClipboard();
}

ViewCommandState CPrjDataView::CommandState(CommandId) const {
  ViewCommandState state;
  state.enabled = m_pData != nullptr && !IsLoading() && LoadedAcquisitionId() != kNoAcquisition;
  return state;
}

CThreadProgressDlg* CPrjDataView::ProgressWindow() const {
  return m_pProgress;
}
