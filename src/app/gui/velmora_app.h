#pragma once
// CVelmoraApp: brings the program up in its fixed order (platform runtime, settings,
// splash screen, main frame and views, database location and check, version offer,
// main window) and releases what it started at exit. It owns the process-wide services and
// the session (server, database, engine), which the views get at construction.
// Thread rule: GUI thread.
#include <functional>
#include <memory>
#include <optional>

#include <QRect>

#include "app/command_line.h"
#include "app/database_location.h"
#include "base/app_context.h"

class CMainFrame;
class CQtUserPrompt;
class CSplashScreenDlg;
class CVelmoraSession;
class IViewFactory;
class QWidget;

inline constexpr char kTaskBarIdentity[] = "Quorix.VelmoraOPCExplorer.20";

// Services a test puts in place of the real ones; nullptr takes the real one.
struct VelmoraAppServices {
  ISettingsStore* settings = nullptr;
  IUserPrompt* prompt = nullptr;
  // Makes the views over the application's session (empty: the program's own views).
  std::function<std::unique_ptr<IViewFactory>(CVelmoraSession&)> views = nullptr;
  IClock* clock = nullptr;  // a test's fake clock runs simulated seconds at once
};

class CVelmoraApp {
 public:
  explicit CVelmoraApp(const CommandLineOptions& options,
                       const VelmoraAppServices& services = VelmoraAppServices());
  ~CVelmoraApp();
  CVelmoraApp(const CVelmoraApp&) = delete;
  CVelmoraApp& operator=(const CVelmoraApp&) = delete;

  // Start-up; false when the program must exit at once.
  bool InitInstance();

  // Checks, creates or upgrades the database at start-up (the program gives the session's).
  void SetDatabaseCheck(DatabaseCheck check) { m_fnCheckDatabase = std::move(check); }
  // The automatic version check: started by the splash screen's first tick; after the
  // database check, offers the newer version it found (filled by the version check).
  void SetVersionCheck(std::function<void()> start, std::function<void(QWidget*)> offer);
  // Tests start without the pauses that let the splash screen be seen.
  void SetQuickStart(bool quick) { m_bQuickStart = quick; }
  // Tests give the window a screen of their own (before InitInstance).
  void SetAvailableGeometry(std::function<QRect()> available) {
    m_fnAvailableGeometry = std::move(available);
  }

  AppContext& Context() { return m_context; }
  CVelmoraSession& Session() { return *m_pSession; }
  CMainFrame* MainFrame() const { return m_pFrame.get(); }
  // The database path with its drive and directory; empty until located.
  const std::optional<DatabaseLocation>& Database() const { return m_database; }
  int TagDisplayType() const { return m_nTagDisplayType; }
  int DecimalNbr() const { return m_nDecimalNbr; }
  bool IsStartupFinished() const { return m_bStartupFinished; }

 private:
  // The platform layer's COM-like runtime for this thread (single-threaded apartment).
  bool InitializePlatformRuntime();
  void ReleasePlatformRuntime();
  void CreateSettingsBranch();
  void RunStartupPause();

  CommandLineOptions m_options;
  SystemClock m_systemClock;
  IClock& m_clock;
  std::unique_ptr<ISettingsStore> m_pOwnSettings;
  std::unique_ptr<CQtUserPrompt> m_pOwnPrompt;
  ISettingsStore& m_settings;
  IUserPrompt& m_prompt;
  CLog m_log;
  AppContext m_context;
  std::unique_ptr<CVelmoraSession> m_pSession;  // outlives the frame and its views
  std::unique_ptr<IViewFactory> m_pViews;

  DatabaseCheck m_fnCheckDatabase;
  std::function<void()> m_fnStartVersionCheck;
  std::function<void(QWidget*)> m_fnOfferNewVersion;
  std::function<QRect()> m_fnAvailableGeometry;
  std::optional<DatabaseLocation> m_database;
  int m_nTagDisplayType = 0;
  int m_nDecimalNbr = 2;
  bool m_bStartupFinished = false;
  bool m_bPlatformRuntime = false;
  bool m_bQuickStart = false;

  std::unique_ptr<CSplashScreenDlg> m_pSplash;
  std::unique_ptr<CMainFrame> m_pFrame;  // destroyed first: its panes use the services
};
