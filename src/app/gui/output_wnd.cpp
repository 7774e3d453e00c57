#include "app/gui/output_wnd.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>

namespace {

constexpr char kPaneTitle[] = "Output";
constexpr const char* kTabCaptions[COutputWnd::kChannelCount] = {
    "OPC Server  ", "OPC Data Acquisition  ", "OPC Data Chart  ", "Projects  "};
constexpr char kCopyOutput[] = "Copy output";
constexpr char kClearOutput[] = "Clear output";
constexpr char kFindPlaceholder[] = "Find in messages";
constexpr char kHideSql[] = "Hide SQL Statements";
constexpr char kShownFormat[] = "%1 of %2 lines";
// The statement log of the database layer, after the line's time stamp.
constexpr const char* kSqlLinePrefixes[] = {"Executing SQL Transaction: ",
                                            "SQL Query Executed in "};
// "dd/Mon/yyyy hh:mm:ss: " before the message.
constexpr int kStampLength = 22;

}  // namespace

bool IsSqlStatementLine(const QString& line) {
  const QStringView message = QStringView(line).mid(std::min<qsizetype>(kStampLength, line.size()));
  for (const char* prefix : kSqlLinePrefixes) {
    if (message.startsWith(QLatin1String(prefix)))
      return true;
  }
  return false;
}

bool OutputFilter::Shows(const QString& line) const {
  if (hideSqlStatements && IsSqlStatementLine(line))
    return false;
  return findText.isEmpty() || line.contains(findText, Qt::CaseInsensitive);
}

COutputList::COutputList(IUserPrompt* prompt, QWidget* parent)
    : QListWidget(parent), m_pPrompt(prompt) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setFrameShape(QFrame::NoFrame);
}

void COutputList::AddLine(const QString& line) {
  insertItem(0, line);
  const int width = LineWidth(line);
  if (m_filter.Shows(line)) {
    ++m_nShown;
    m_nShownExtent = std::max(m_nShownExtent, width);
  } else {
    setRowHidden(0, true);
  }
  if (width > m_nHorizontalExtent) {
    m_nHorizontalExtent = width;
    updateGeometries();
  }
  // A run of weeks logs a line per chart redraw: the oldest lines go, memory stays bounded.
  while (count() > kMaxOutputLines) {
    const int last = count() - 1;
    if (!isRowHidden(last))
      --m_nShown;
    delete takeItem(last);
  }
  emit lineAdded();
}

bool COutputList::CopySelectedLine() {
  const QList<QListWidgetItem*> selected = selectedItems();
  if (selected.isEmpty())
    return false;
  const QString text = selected.first()->text();
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(text);
  if (clipboard->text() != text)
    return false;
  QApplication::beep();
  return true;
}

void COutputList::SetFilter(const OutputFilter& filter) {
  m_filter = filter;
  m_nShown = 0;
  m_nShownExtent = 0;
  for (int row = 0; row < count(); ++row) {
    const QString& line = item(row)->text();
    const bool shown = m_filter.Shows(line);
    setRowHidden(row, !shown);
    if (shown) {
      ++m_nShown;
      m_nShownExtent = std::max(m_nShownExtent, LineWidth(line));
    }
  }
  updateGeometries();
}

int COutputList::LineWidth(const QString& line) const {
  const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  return fontMetrics().horizontalAdvance(line) + 3 * border;
}

void COutputList::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    CopySelectedLine();
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void COutputList::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(kCopyOutput, this, [this] { ShowCaption(kCopyOutput); });
  menu.addAction(kClearOutput, this, [this] { ShowCaption(kClearOutput); });
  menu.exec(event->globalPos());
}

void COutputList::ShowCaption(const char* caption) {
  if (m_pPrompt != nullptr)
    m_pPrompt->ShowMessage(caption, MessageButtons::kOk, MessageIcon::kInformation);
}

void COutputList::updateGeometries() {
  QListWidget::updateGeometries();
  // The extent of the widest shown line decides how far the list scrolls sideways (a
  // hidden line's width would show a scroll bar the list itself then hides, again and
  // again).
  const int range = std::min(m_nHorizontalExtent, m_nShownExtent) - viewport()->width();
  horizontalScrollBar()->setRange(0, range > 0 ? range : 0);
  horizontalScrollBar()->setPageStep(viewport()->width());
}

COutputWnd::COutputWnd(IUserPrompt* prompt, QWidget* parent)
    : QDockWidget(kPaneTitle, parent),
      m_pTabs(new QTabWidget(this)),
      m_pFind(new QLineEdit),
      m_pHideSql(new QCheckBox(kHideSql)),
      m_pShown(new QLabel) {
  setObjectName("OutputPane");
  // The View commands show and hide the pane; its own close button would bypass
  // OutputPaneVisible.
  setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  m_pTabs->setTabPosition(QTabWidget::South);
  m_pTabs->setDocumentMode(true);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    m_lists[static_cast<size_t>(channel)] = new COutputList(prompt, m_pTabs);
    m_pTabs->addTab(m_lists[static_cast<size_t>(channel)], kTabCaptions[channel]);
    connect(m_lists[static_cast<size_t>(channel)], &COutputList::lineAdded, this,
            &COutputWnd::UpdateShownLabel);
  }
  m_pFind->setObjectName("OutputFind");
  m_pFind->setPlaceholderText(kFindPlaceholder);
  m_pFind->setClearButtonEnabled(true);
  m_pHideSql->setObjectName("OutputHideSql");
  m_pHideSql->setChecked(false);  // every line is shown until the user asks otherwise
  connect(m_pFind, &QLineEdit::textChanged, this, &COutputWnd::ApplyFilter);
  connect(m_pHideSql, &QCheckBox::toggled, this, &COutputWnd::ApplyFilter);
  connect(m_pTabs, &QTabWidget::currentChanged, this, &COutputWnd::UpdateShownLabel);

  // The find box and the switch sit beside the channel tabs, so they cost no height.
  auto* tools = new QWidget(m_pTabs);
  auto* row = new QHBoxLayout(tools);
  row->setContentsMargins(4, 0, 4, 0);
  row->addWidget(m_pShown);
  row->addWidget(m_pFind);
  row->addWidget(m_pHideSql);
  m_pFind->setMinimumWidth(m_pFind->fontMetrics().averageCharWidth() * 24);
  m_pTabs->setCornerWidget(tools, Qt::BottomRightCorner);
  setWidget(m_pTabs);
  UpdateShownLabel();
}

void COutputWnd::ApplyFilter() {
  const OutputFilter filter{m_pFind->text(), m_pHideSql->isChecked()};
  for (COutputList* list : m_lists)
    list->SetFilter(filter);
  UpdateShownLabel();
}

void COutputWnd::UpdateShownLabel() {
  const auto* list = qobject_cast<const COutputList*>(m_pTabs->currentWidget());
  const bool filtered = !m_pFind->text().isEmpty() || m_pHideSql->isChecked();
  m_pShown->setVisible(list != nullptr && filtered);
  if (list != nullptr)
    m_pShown->setText(QString(kShownFormat).arg(list->ShownCount()).arg(list->count()));
}

void COutputWnd::Log(int channel, const std::string& line) {
  COutputList* list = List(channel);
  if (list != nullptr)
    list->AddLine(QString::fromStdString(line));
}

COutputList* COutputWnd::List(int channel) const {
  if (channel < 0 || channel >= kChannelCount)
    return nullptr;
  return m_lists[static_cast<size_t>(channel)];
}

void COutputWnd::ShowChannel(int channel) {
  if (COutputList* list = List(channel))
    m_pTabs->setCurrentWidget(list);
}
