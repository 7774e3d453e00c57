#pragma once
// CMainFrame: the single top-level window. It owns the command bar, the navigation pane,
// the output pane and the status bar, creates every view once at start-up, switches
// which view fills the client area, and runs the close-project sequence.
// Thread rule: GUI thread.
#include <QMainWindow>
#include <QRect>
#include <QUrl>
#include <array>
#include <functional>

#include "app/close_project.h"
#include "app/gui/ribbon_commands.h"
#include "app/navigation.h"
#include "app/splash_progress.h"
#include "base/app_context.h"

class CPrjDatabaseView;
class COPCChartView;
class COPCDataView;
class COPCServerView;
class COutlookBar;
class COutputWnd;
class CRibbonBar;
class CVelmoraView;
class IViewFactory;
class QAction;
class QDockWidget;
class QLabel;
class QStackedWidget;

class CMainFrame : public QMainWindow, public ICloseProjectFrame {
  Q_OBJECT
 public:
  explicit CMainFrame(AppContext& context, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Start-up: panes, command bar, status bar, visual style; then the views.
  void CreateFrame();
  int CreateViews(ISplashProgress* splash, IViewFactory& factory);
  // Tests create the views without the pauses that let the splash screen repaint.
  void SetCreationPauses(bool enabled) { m_bCreationPauses = enabled; }
  // Until start-up has finished the frame refuses to become visible.
  void SetStartupFinished(bool finished) { m_bStartupFinished = finished; }
  // "Check for Update" runs this; the command stays greyed until it is set.
  void SetCheckForUpdate(std::function<void()> check);
  bool IsStartupFinished() const { return m_bStartupFinished; }
  void setVisible(bool visible) override;
  // The end of start-up: shown maximised when it was closed so, otherwise normally.
  void ShowRestored();
  // The available area of the screen the window goes on; tests give a screen of their own.
  void SetAvailableGeometry(std::function<QRect()> available) {
    m_fnAvailableGeometry = std::move(available);
  }
  QRect AvailableGeometry() const;
  QRect AvailableGeometryFor(const QRect& stored) const;

  // Views and navigation.
  CVelmoraView* View(VelmoraView view) const { return m_views[static_cast<size_t>(view)]; }
  CVelmoraView* ActiveView() const;
  bool SwitchToView(VelmoraView view);
  void OpenGroup(NavigationGroup group);
  void ChooseEntry(NavigationEntry entry);
  int CurrentGroup() const { return m_navigator.CurrentGroup(); }
  // The concrete views (defined in the composition root, view_factory.cpp); null when
  // missing.
  COPCServerView* ServerView() const;
  COPCDataView* DataView() const;
  COPCChartView* ChartView(VelmoraView view) const;
  CPrjDatabaseView* DatabaseView() const;

  // The project as the later features see it; unconnected until they plug in.
  void SetProjectSession(IProjectSession* session);
  IProjectSession& ProjectSession() const { return *m_pSession; }
  // A session is plugged in: the views' data is reachable, their commands may be enabled
  // and a view shown is told so.
  bool IsSessionAttached() const { return m_pSession != &m_unconnectedSession; }
  // The close-project sequence; true when the project was closed.
  bool CloseProject(bool triggeredByServer);

  // Panes and commands.
  QAction* Command(CommandId id) const;
  // The view a command goes to: the visible view when it handles the command, otherwise
  // the first view that does; null for the frame's own commands.
  CVelmoraView* CommandTarget(CommandId id) const;
  // Asks every routed command's view how to show it (also after each view switch).
  void UpdateCommandStates();
  CRibbonBar* Ribbon() const { return m_pRibbon; }
  COutlookBar* OutlookBar() const { return m_pOutlookBar; }
  COutputWnd* OutputWnd() const { return m_pOutputWnd; }
  QLabel* StatusPane() const { return m_pStatusPane; }
  QLabel* CaptionBar() const { return m_pCaptionBar; }
  void SetOutputPaneVisible(bool visible);
  void SetStatusBarVisible(bool visible);
  void SetCaptionBarVisible(bool visible);
  void ApplyVisualStyle(const QString& styleName);
  // Opens one of the maker's pages; a failure is reported in a message box.
  void OpenWebPage(const QString& url);
  // Tests replace the system's "open" action.
  void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_fnOpenUrl = std::move(opener); }

  // ICloseProjectFrame
  bool HasSessionViews() const override;
  void ResetSessionViews() override;
  void RunPendingMessages(int milliseconds) override;
  void SetWaitCursor(bool wait) override;
  void CloseOpenDialogs() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateCommandBar();
  void CreatePanes();
  void CreateStatusBar();
  void ConnectFrameCommands();
  // Connects every command a view handles to its routing (after the views exist).
  void RouteViewCommands();
  // The window's size, panes, splitters and visible view, kept between runs.
  void SaveWindowLayout() const;
  void RestoreWindowLayout();
  // Once the window manager has framed the window: moved and shrunk until the frame fits.
  void FitFrameToScreen();
  void ApplyViewSizePolicies();
  void FillVisualStyles();
  void ApplyTarget(const NavigationTarget& target);
  void UpdateCaptionBar();
  void OnCloseProjectCommand();

  AppContext& m_context;
  CUnconnectedProjectSession m_unconnectedSession;
  IProjectSession* m_pSession = &m_unconnectedSession;
  CNavigator m_navigator;
  std::array<CVelmoraView*, kViewCount> m_views{};
  std::array<bool, kCommandCount> m_routed{};  // a view handles the command
  bool m_bStartupFinished = false;
  bool m_bCreationPauses = true;
  bool m_bClosing = false;
  bool m_bShowMaximized = false;  // the stored state, applied by ShowRestored
  bool m_bFramedOnce = false;
  std::function<QRect()> m_fnAvailableGeometry;
  int m_nWaitDepth = 0;
  std::function<bool(const QUrl&)> m_fnOpenUrl;

  CRibbonBar* m_pRibbon = nullptr;
  QLabel* m_pCaptionBar = nullptr;
  QStackedWidget* m_pViewStack = nullptr;
  QDockWidget* m_pNavigationDock = nullptr;
  COutlookBar* m_pOutlookBar = nullptr;
  COutputWnd* m_pOutputWnd = nullptr;
  QLabel* m_pStatusPane = nullptr;
  QLabel* m_pStatusLink = nullptr;
};
