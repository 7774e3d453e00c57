#include "app/gui/output_wnd.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
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

}  // namespace

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
  const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int width = fontMetrics().horizontalAdvance(line) + 3 * border;
  if (width > m_nHorizontalExtent) {
    m_nHorizontalExtent = width;
    updateGeometries();
  }
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
    m_pPrompt->ShowMessage(caption, MessageButtons::Ok, MessageIcon::Information);
}

void COutputList::updateGeometries() {
  QListWidget::updateGeometries();
  // The extent of the widest line decides how far the list scrolls sideways.
  const int range = m_nHorizontalExtent - viewport()->width();
  horizontalScrollBar()->setRange(0, range > 0 ? range : 0);
  horizontalScrollBar()->setPageStep(viewport()->width());
}

COutputWnd::COutputWnd(IUserPrompt* prompt, QWidget* parent)
    : QDockWidget(kPaneTitle, parent), m_pTabs(new QTabWidget(this)) {
  setObjectName("OutputPane");
  // The View commands show and hide the pane; its own close button would bypass
  // OutputPaneVisible.
  setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  m_pTabs->setTabPosition(QTabWidget::South);
  m_pTabs->setDocumentMode(true);
  for (int channel = 0; channel < kChannelCount; ++channel) {
    m_lists[static_cast<size_t>(channel)] = new COutputList(prompt, m_pTabs);
    m_pTabs->addTab(m_lists[static_cast<size_t>(channel)], kTabCaptions[channel]);
  }
  setWidget(m_pTabs);
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
