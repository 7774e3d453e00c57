#include "explorer/gui/prj_export_view.h"

#include <QCheckBox>
#include <QFont>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/log.h"
#include "db/sqlite_db.h"
#include "explorer/explorer_reports.h"
#include "explorer/gui/explorer_session.h"
#include "explorer/gui/preview_lines_model.h"
#include "explorer/gui/prj_data_view.h"
#include "explorer/project_data.h"
#include "explorer/table_text.h"

namespace {
constexpr char kTitle[] = "Export Project Data";
constexpr char kDescription[] =
    "The data of the recorded acquisition as a CSV file, for spreadsheets and other programs.";
constexpr char kServerId[] = "Server Id";
constexpr char kHost[] = "OPC Server Host";
constexpr char kStart[] = "Acquisition Start";
constexpr char kEnd[] = "Acquisition End";
constexpr char kCount[] = "Data Count";
constexpr char kSeparator[] = "Separator:";
constexpr char kAlignedText[] = "Aligned Preview";
constexpr char kExportText[] = "Export Data ...";
constexpr char kRows[] = "%1 Row(s)";
constexpr char kPreviewFont[] = "Courier New";
constexpr int kPreviewFontPixels = 14;
}  // namespace

CPrjExportView::CPrjExportView(IExplorerSession& session, CPrjDataView& dataView, QWidget* parent)
    : CVelmoraView(kTitle, kDescription, parent),
      m_pSession(&session),
      m_pDataView(&dataView),
      m_pModel(std::make_unique<CPreviewLinesModel>()),
      m_pSemicolon(new QRadioButton(";", this)),
      m_pComma(new QRadioButton(",", this)),
      m_pAligned(new QCheckBox(kAlignedText, this)),
      m_pPreview(new QListView(this)),
      m_pRowCount(new QLabel(this)),
      m_pExport(new QPushButton(kExportText, this)) {
  auto* form = new QFormLayout;
  for (const char* label : {kServerId, kHost, kStart, kEnd, kCount}) {
    auto* value = new QLabel(this);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString(label) + ":", value);
    m_summary.emplace_back(label, value);
  }
  ContentLayout()->addLayout(form);
  m_pSemicolon->setChecked(true);
  auto* options = new QHBoxLayout;
  options->addWidget(new QLabel(kSeparator, this));
  options->addWidget(m_pSemicolon);
  options->addWidget(m_pComma);
  options->addSpacing(16);
  options->addWidget(m_pAligned);
  options->addStretch(1);
  options->addWidget(m_pRowCount);
  options->addWidget(m_pExport);
  ContentLayout()->addLayout(options);

  QFont font(kPreviewFont);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(kPreviewFontPixels);
  m_pPreview->setFont(font);
  m_pPreview->setUniformItemSizes(true);
  m_pPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_pPreview->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_pPreview->setModel(m_pModel.get());
  ContentLayout()->addWidget(m_pPreview, 1);

  connect(m_pSemicolon, &QRadioButton::toggled, this, [this](bool on) {
    if (on)
      Preview();
  });
  connect(m_pComma, &QRadioButton::toggled, this, [this](bool on) {
    if (on)
      Preview();
  });
  connect(m_pAligned, &QCheckBox::toggled, this, [this] { Preview(); });
  connect(m_pExport, &QPushButton::clicked, this, [this] { Export(); });
  // The preview reads the data view's table: it goes when the table is refilled.
  connect(m_pDataView, &CPrjDataView::LoadStarted, this, [this] {
    m_pModel->SetLines(nullptr);
    m_pRowCount->clear();
    m_nPreviewedId = kNoAcquisition;
    emit CommandStatesChanged();
  });
  connect(m_pDataView, &CPrjDataView::LoadEnded, this, [this](int id) {
    if (m_bWaitingForLoad && id == m_nAcquisitionId) {
      m_bWaitingForLoad = false;
      BuildPreview();
      if (m_bExportWhenLoaded) {
        // The rows just loaded are written, even if a recording added more since.
        m_bExportWhenLoaded = false;
        m_bJustLoaded = true;
        Export();
        m_bJustLoaded = false;
      }
    }
  });
}

CPrjExportView::~CPrjExportView() {
  m_pPreview->setModel(nullptr);
}

void CPrjExportView::SetAcquisitionId(int acquisitionId) {
  m_nAcquisitionId = acquisitionId;
}

char CPrjExportView::Separator() const {
  return m_pComma->isChecked() ? ',' : ';';
}

QLabel* CPrjExportView::Summary(const char* label) const {
  for (const auto& [name, value] : m_summary) {
    if (std::string(name) == label)
      return value;
  }
  return nullptr;
}

void CPrjExportView::OnViewShown() {
  if (m_nAcquisitionId == kNoAcquisition)
    return;
  // Also when the acquisition grew or ended since its rows were loaded.
  CProjectData* data = m_pDataView != nullptr ? m_pDataView->Data() : nullptr;
  if (m_nAcquisitionId != m_nPreviewedId ||
      (data != nullptr && !m_pDataView->IsLoading() && data->NeedsLoad(m_nAcquisitionId)))
    Preview();
}

void CPrjExportView::Preview() {
  if (m_pSession == nullptr || m_pDataView == nullptr || m_nAcquisitionId == kNoAcquisition)
    return;
  m_pModel->SetLines(nullptr);  // "There is nothing to show ..."
  CProjectData* data = m_pDataView->Data();
  if (data == nullptr)
    return;
  // The data view's table is the source: it is loaded first when it holds another one.
  if (m_pDataView->IsLoading() || data->NeedsLoad(m_nAcquisitionId)) {
    m_bWaitingForLoad = true;
    if (!m_pDataView->IsLoading()) {
      m_pDataView->SetAcquisitionId(m_nAcquisitionId);
      m_pDataView->Load();
    }
    return;
  }
  BuildPreview();
}

void CPrjExportView::BuildPreview() {
  AppContext& context = m_pSession->Context();
  const uint32_t start = context.clock.TickCount();
  AcquisitionSummary summary;
  const int columns =
      ReadAcquisitionSummary(m_pSession->Database(), m_nAcquisitionId, false, summary);
  if (columns != kExportSummaryColumns) {
    context.prompt.ShowReport(RetrievalErrorReport(columns));
    for (const auto& entry : m_summary)
      entry.second->clear();
  } else {
    Summary(kServerId)->setText(QString::fromStdString(summary.serverId));
    Summary(kHost)->setText(QString::fromStdString(summary.host));
    Summary(kStart)->setText(QString::fromStdString(summary.start));
    Summary(kEnd)->setText(QString::fromStdString(summary.end));
    Summary(kCount)->setText(QString::number(summary.dataCount));
  }
  const CRecordingPages& table = m_pDataView->Data()->Recording();
  m_pModel->SetLines(std::make_unique<CPreviewLines>(table, Separator(), m_pAligned->isChecked()));
  const std::string damage = m_pDataView->Data()->DamageText();
  m_pRowCount->setText(QString(kRows).arg(table.RowCount()) +
                       (damage.empty() ? QString() : " (" + QString::fromStdString(damage) + ")"));
  const int seconds = static_cast<int>((context.clock.TickCount() - start) / 1000);
  context.log.Log(Format(kPreviewLoadedLine, table.RowCount(), table.ColumnCount(), seconds),
                  kLogProjects);
  m_nPreviewedId = m_nAcquisitionId;
  emit CommandStatesChanged();
}

bool CPrjExportView::Export() {
  if (m_pSession == nullptr || m_pDataView == nullptr || m_pDataView->Data() == nullptr ||
      m_pDataView->IsLoading() || m_nPreviewedId == kNoAcquisition)
    return false;
  // Rows added or an end written since the load: the file gets the rows there are now.
  if (!m_bJustLoaded && m_pDataView->Data()->NeedsLoad(m_nPreviewedId)) {
    m_bExportWhenLoaded = true;
    m_nAcquisitionId = m_nPreviewedId;
    Preview();
    return false;
  }
  AppContext& context = m_pSession->Context();
  const std::optional<std::string> path =
      context.prompt.ChooseFile(ExportFileRequest(m_pSession->Database().Path()));
  if (!path || path->empty())
    return false;
  const uint32_t start = context.clock.TickCount();
  std::string cause;
  if (RefuseDatabaseTarget(*path, m_pSession->Database().Path(), cause) ||
      !WriteExportFile(*path, m_pDataView->Data()->Recording(), Separator(), cause)) {
    context.prompt.ShowReport(ExportErrorReport(*path, cause));
    return false;
  }
  // The file holds what could be read; what could not is told, never called a success.
  const std::string damage = m_pDataView->Data()->DamageText();
  if (!damage.empty()) {
    context.log.Log(damage, kLogProjects);
    context.prompt.ShowReport(DamagedDataReport(damage));
    return true;
  }
  context.log.Log(
      Format(kExportedLine, path->c_str(), static_cast<int>(context.clock.TickCount() - start)),
      kLogProjects);
  return true;
}

std::vector<CommandId> CPrjExportView::Commands() const {
  return {CommandId::kExportData};
}

void CPrjExportView::OnCommand(CommandId id) {
  if (id == CommandId::kExportData)
    Export();
}

ViewCommandState CPrjExportView::CommandState(CommandId) const {
  ViewCommandState state;
  state.enabled = m_pSession != nullptr && m_nPreviewedId != kNoAcquisition;
  return state;
}
