#include "app/gui/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>

#include "app/gui/about_dlg.h"
#include "app/gui/app_icon.h"
#include "app/gui/outlook_bar.h"
#include "app/gui/output_wnd.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/ribbon_bar.h"
#include "app/web_pages.h"
#include "base/report.h"
#include "base/settings.h"
#include "ui/velmora_view.h"

namespace {

constexpr char kWelcome[] = "Welcome to ";
constexpr char kMessagesSuffix[] = " Messages";
constexpr int kStatusPaneChars = 50;
constexpr char kMakerLinkText[] = "www.quorix.example";
constexpr char kNavigationTitle[] = "Navigation";
constexpr char kApplicationLookKey[] = "ApplicationLook";
constexpr char kDefaultLook[] = "Fusion";

// The frame's own look: light ribbon panels, an Outlook-like navigation pane.
constexpr char kFrameStyleSheet[] = R"(
#RibbonBar > QWidget, #RibbonPage { background: #f6f8fb; }
#RibbonPanelTitle { color: #4b5b73; padding-bottom: 2px; }
#CaptionBar { background: #fff7d6; border-bottom: 1px solid #e0cf8a; padding: 4px 8px; }
#OutlookBar QToolButton#OutlookGroup {
  text-align: left; font-weight: bold; padding: 4px 6px;
  border: 1px solid #b8c6da; border-radius: 2px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f7fb, stop:1 #dde6f2);
}
#OutlookBar QToolButton#OutlookGroup:checked {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff1c9, stop:1 #ffd980);
  border-color: #d9a93a;
}
#OutlookBar QListWidget#OutlookEntries { background: #ffffff; }
)";

}  // namespace

CMainFrame::CMainFrame(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context) {
  setObjectName("MainFrame");
  setWindowTitle(kProductName);
  setWindowIcon(VelmoraIcon());
  m_fnOpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

CMainFrame::~CMainFrame() {
  // Lines logged after the frame is gone are dropped, never sent to a deleted pane.
  if (m_pOutputWnd != nullptr && m_context.log.Sink() == m_pOutputWnd)
    m_context.log.SetSink(nullptr);
}

void CMainFrame::CreateFrame() {
  setStyleSheet(kFrameStyleSheet);
  const std::unique_ptr<QSettings> profile = OpenVelmoraSettings();
  ApplyVisualStyle(profile->value(kApplicationLookKey, kDefaultLook).toString());
  CreateCommandBar();
  CreatePanes();
  CreateStatusBar();
  ConnectFrameCommands();
  m_context.log.SetSink(m_pOutputWnd);
}

void CMainFrame::CreateCommandBar() {
  m_pRibbon = new CRibbonBar(this);
  m_pCaptionBar = new QLabel(this);
  m_pCaptionBar->setObjectName("CaptionBar");
  m_pCaptionBar->hide();
  auto* top = new QWidget(this);
  auto* layout = new QVBoxLayout(top);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_pRibbon);
  layout->addWidget(m_pCaptionBar);
  m_pRibbon->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setMenuWidget(top);
  // Shortcuts work whichever category is shown.
  addActions(m_pRibbon->Actions());
}

void CMainFrame::CreatePanes() {
  m_pViewStack = new QStackedWidget(this);
  setCentralWidget(m_pViewStack);
  // Only the visible view decides how small the window may be.
  connect(m_pViewStack, &QStackedWidget::currentChanged, this, &CMainFrame::ApplyViewSizePolicies);
  setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);

  m_pOutlookBar = new COutlookBar(this);
  m_pNavigationDock = new QDockWidget(kNavigationTitle, this);
  m_pNavigationDock->setObjectName("NavigationPane");
  m_pNavigationDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  m_pNavigationDock->setWidget(m_pOutlookBar);
  addDockWidget(Qt::LeftDockWidgetArea, m_pNavigationDock);
  connect(m_pOutlookBar, &COutlookBar::groupOpened, this, &CMainFrame::OpenGroup);
  connect(m_pOutlookBar, &COutlookBar::entryChosen, this, &CMainFrame::ChooseEntry);

  m_pOutputWnd = new COutputWnd(&m_context.prompt, this);
  addDockWidget(Qt::BottomDockWidgetArea, m_pOutputWnd);
  resizeDocks({m_pNavigationDock}, {240}, Qt::Horizontal);
  resizeDocks({m_pOutputWnd}, {150}, Qt::Vertical);
  // A failed read keeps the pane visible (the default).
  m_pOutputWnd->setVisible(settings::Read(m_context.settings, settings::kOutputPaneVisible) != 0);
}

void CMainFrame::CreateStatusBar() {
  m_pStatusPane = new QLabel(QString(kWelcome) + kProductName, this);
  m_pStatusPane->setToolTip(QString(kProductName) + kMessagesSuffix);
  m_pStatusPane->setFixedWidth(m_pStatusPane->fontMetrics().averageCharWidth() * kStatusPaneChars);
  m_pStatusLink =
      new QLabel(QString("<a href=\"%1\">%2</a>").arg(kQuorixWebSiteUrl, kMakerLinkText), this);
  m_pStatusLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                         Qt::LinksAccessibleByKeyboard);
  connect(m_pStatusLink, &QLabel::linkActivated, this, &CMainFrame::OpenWebPage);
  statusBar()->addWidget(m_pStatusPane);
  statusBar()->addPermanentWidget(m_pStatusLink);
}

void CMainFrame::SetCheckForUpdate(std::function<void()> check) {
  QAction* action = Command(CommandId::kCheckForUpdate);
  disconnect(action, &QAction::triggered, this, nullptr);
  action->setEnabled(static_cast<bool>(check));
  if (check)
    connect(action, &QAction::triggered, this, std::move(check));
}

void CMainFrame::ConnectFrameCommands() {
  auto handle = [this](CommandId id, auto slot) {
    QAction* action = Command(id);
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, slot);
  };
  handle(CommandId::kExit, [this] { close(); });
  handle(CommandId::kCloseProject, [this] { OnCloseProjectCommand(); });
  handle(CommandId::kAbout, [this] {
    CAboutDlg about([this](const QString& url) { OpenWebPage(url); }, this);
    about.exec();
  });

  // The View commands keep their check marks in step with the panes.
  auto* statusGroup = new QActionGroup(this);
  auto* outputGroup = new QActionGroup(this);
  for (auto [id, group] : {std::pair{CommandId::kShowStatusBar, statusGroup},
                           {CommandId::kHideStatusBar, statusGroup},
                           {CommandId::kShowOutputPane, outputGroup},
                           {CommandId::kHideOutputPane, outputGroup}}) {
    Command(id)->setCheckable(true);
    group->addAction(Command(id));
  }
  handle(CommandId::kShowStatusBar, [this] { SetStatusBarVisible(true); });
  handle(CommandId::kHideStatusBar, [this] { SetStatusBarVisible(false); });
  handle(CommandId::kShowOutputPane, [this] { SetOutputPaneVisible(true); });
  handle(CommandId::kHideOutputPane, [this] { SetOutputPaneVisible(false); });
  Command(CommandId::kCaptionBar)->setCheckable(true);
  handle(CommandId::kCaptionBar,
         [this] { SetCaptionBarVisible(Command(CommandId::kCaptionBar)->isChecked()); });
  Command(CommandId::kShowStatusBar)->setChecked(true);
  Command(m_pOutputWnd->isHidden() ? CommandId::kHideOutputPane : CommandId::kShowOutputPane)
      ->setChecked(true);
  FillVisualStyles();

  for (auto [id, url] : {std::pair{CommandId::kWebHomePage, kVelmoraHomePageUrl},
                         {CommandId::kWebSupport, kVelmoraSupportUrl},
                         {CommandId::kWebDownloads, kVelmoraDownloadsUrl},
                         {CommandId::kWebQuorix, kQuorixWebSiteUrl}}) {
    const QString address = url;
    handle(id, [this, address] { OpenWebPage(address); });
  }
}

void CMainFrame::FillVisualStyles() {
  QAction* look = Command(CommandId::kApplicationLook);
  look->setEnabled(true);
  auto* group = new QActionGroup(this);
  const QString current = QApplication::style()->name();
  for (const QString& key : QStyleFactory::keys()) {
    QAction* choice = look->menu()->addAction(key);
    choice->setCheckable(true);
    choice->setChecked(key.compare(current, Qt::CaseInsensitive) == 0);
    group->addAction(choice);
    connect(choice, &QAction::triggered, this, [this, key] {
      ApplyVisualStyle(key);
      OpenVelmoraSettings()->setValue(kApplicationLookKey, key);
    });
  }
}

void CMainFrame::ApplyVisualStyle(const QString& styleName) {
  if (QApplication::style()->name().compare(styleName, Qt::CaseInsensitive) == 0)
    return;
  if (QStyle* style = QStyleFactory::create(styleName))
    QApplication::setStyle(style);
}

QAction* CMainFrame::Command(CommandId id) const {
  return m_pRibbon != nullptr ? m_pRibbon->Command(id) : nullptr;
}

void CMainFrame::SetOutputPaneVisible(bool visible) {
  if (visible && m_pOutputWnd->isFloating())
    m_pOutputWnd->setFloating(false);  // docked again
  m_pOutputWnd->setVisible(visible);
  Command(visible ? CommandId::kShowOutputPane : CommandId::kHideOutputPane)->setChecked(true);
  settings::Write(m_context.settings, settings::kOutputPaneVisible, visible ? 1 : 0);
}

void CMainFrame::SetStatusBarVisible(bool visible) {
  statusBar()->setVisible(visible);
  Command(visible ? CommandId::kShowStatusBar : CommandId::kHideStatusBar)->setChecked(true);
}

void CMainFrame::SetCaptionBarVisible(bool visible) {
  m_pCaptionBar->setVisible(visible);
  Command(CommandId::kCaptionBar)->setChecked(visible);
  UpdateCaptionBar();
}

void CMainFrame::OpenWebPage(const QString& url) {
  if (m_fnOpenUrl(QUrl(url)))
    return;
  // The system does not say why the browser did not start.
  m_context.prompt.ShowMessage(WebBrowserErrorText(kShellOpenNoReason), MessageButtons::kOk,
                               MessageIcon::kError);
}

void CMainFrame::setVisible(bool visible) {
  if (visible && !m_bStartupFinished)
    return;  // start-up shows the frame when it is done
  QMainWindow::setVisible(visible);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Exit and the close box: the project is closed first, then the window. Cancel on the
  // acquisition stop question keeps both: the acquisition goes on, the window stays.
  if (!m_bClosing) {
    m_bClosing = true;
    const bool closed = CloseProject(false);
    m_bClosing = false;
    if (!closed && HasSessionViews() && m_pSession->IsAcquisitionRunning()) {
      event->ignore();
      return;
    }
  }
  if (m_bStartupFinished)
    SaveWindowLayout();
  event->accept();
}

void CMainFrame::ApplyViewSizePolicies() {
  const int current = m_pViewStack->currentIndex();
  for (int i = 0; i < m_pViewStack->count(); ++i) {
    const QSizePolicy::Policy policy = i == current ? QSizePolicy::Preferred : QSizePolicy::Ignored;
    m_pViewStack->widget(i)->setSizePolicy(policy, policy);
  }
  m_pViewStack->updateGeometry();
}
