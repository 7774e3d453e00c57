#include "app/gui/velmora_app.h"

#include <QApplication>
#include <QThread>

#include "app/gui/main_frame.h"
#include "app/gui/qt_settings_store.h"
#include "app/gui/qt_user_prompt.h"
#include "app/gui/splash_screen_dlg.h"
#include "app/gui/velmora_session.h"
#include "app/gui/view_factory.h"
#include "app/splash_state.h"
#include "app/view_creation.h"
#include "base/settings.h"

namespace {

constexpr char kBranchError[] = "System Error: Unable to Create Branch %s !!!!! (%ld) ";
constexpr char kCreatingFramework[] = "Creating Velmora OPC Explorer Framework ...";
constexpr char kTerminatingStartup[] = "Terminating Application Startup ...";

ISettingsStore* MakeSettings(const CommandLineOptions& options) {
  // The settings folder must be known before the store is opened.
  if (!options.settingsDir.empty())
    SetVelmoraSettingsDirectory(QString::fromStdString(options.settingsDir));
  return new CQtSettingsStore;
}

}  // namespace

CVelmoraApp::CVelmoraApp(const CommandLineOptions& options, const VelmoraAppServices& services)
    : m_options(options),
      m_clock(services.clock != nullptr ? *services.clock : m_systemClock),
      m_pOwnSettings(services.settings == nullptr ? MakeSettings(options) : nullptr),
      m_pOwnPrompt(services.prompt == nullptr ? new CQtUserPrompt : nullptr),
      m_settings(services.settings != nullptr ? *services.settings : *m_pOwnSettings),
      m_prompt(services.prompt != nullptr ? *services.prompt
                                          : static_cast<IUserPrompt&>(*m_pOwnPrompt)),
      m_log(m_clock),
      m_context{m_clock, m_log, m_prompt, m_settings},
      m_pSession(std::make_unique<CVelmoraSession>(m_context)),
      m_pViews(services.views ? services.views(*m_pSession)
                              : std::make_unique<CVelmoraViewFactory>(*m_pSession)) {
  m_nTagDisplayType = settings::Read(m_settings, settings::kTagDisplayType);
  m_nDecimalNbr = settings::kDecimalNbr.defaultValue;
  m_bStartupFinished = false;
  QGuiApplication::setDesktopFileName(kTaskBarIdentity);
}

CVelmoraApp::~CVelmoraApp() {
  m_pSession->Detach();
  m_pFrame.reset();
  m_pSplash.reset();
  ReleasePlatformRuntime();
}

void CVelmoraApp::SetVersionCheck(std::function<void()> start,
                                  std::function<void(QWidget*)> offer) {
  m_fnStartVersionCheck = std::move(start);
  m_fnOfferNewVersion = std::move(offer);
}

bool CVelmoraApp::InitializePlatformRuntime() {
  // Call site of the platform layer's CoInitializeEx equivalent (single-threaded
  // apartment on this, the GUI thread). Until the platform runtime offers it there is
  // nothing to initialise, so start-up goes on.
  m_bPlatformRuntime = true;
  return true;
}

void CVelmoraApp::ReleasePlatformRuntime() {
  // Counterpart of InitializePlatformRuntime (CoUninitialize), once per successful start.
  m_bPlatformRuntime = false;
}

void CVelmoraApp::CreateSettingsBranch() {
  const int error = m_settings.CreateBranch();
  if (error != 0) {
    // Start-up goes on: reads fall back to their defaults, writes fail silently.
    m_prompt.ShowMessage(Format(kBranchError, kSettingsKeyPath, static_cast<long>(error)),
                         MessageButtons::kOk, MessageIcon::kError);
  }
}

void CVelmoraApp::RunStartupPause() {
  // At most 100 rounds of 25 ms; a click on the splash or its own timer ends it early.
  while (m_pSplash->CountDown()) {
    if (!m_bQuickStart)
      QThread::msleep(kSplashPauseRoundMs);
    QCoreApplication::processEvents();
  }
}

bool CVelmoraApp::InitInstance() {
  if (!InitializePlatformRuntime())
    return false;
  CreateSettingsBranch();
  QCoreApplication::setOrganizationName(kSettingsOrganisation);
  QCoreApplication::setApplicationName(kSettingsApplication);

  m_pSplash = std::make_unique<CSplashScreenDlg>(m_clock);
  m_pSplash->Open(m_fnStartVersionCheck);
  m_pSplash->ShowStep(kCreatingFramework, false);

  m_pFrame = std::make_unique<CMainFrame>(m_context);
  m_pFrame->SetCreationPauses(!m_bQuickStart);
  if (m_fnAvailableGeometry)
    m_pFrame->SetAvailableGeometry(m_fnAvailableGeometry);
  m_pFrame->CreateFrame();
  if (m_pOwnPrompt)
    m_pOwnPrompt->SetParent(m_pFrame.get());

  const bool allViews = m_pFrame->CreateViews(m_pSplash.get(), *m_pViews) == kViewCount;
  if (allViews && !m_pSplash->IsClosed()) {
    m_pSplash->ShowStep(kTerminatingStartup, true);
    RunStartupPause();
  }
  m_pSplash.reset();

  m_database = LocateDatabase(m_settings, m_prompt, m_options.databasePath, m_fnCheckDatabase);
  if (!m_database) {
    // Without a database the program cannot work: it closes as soon as events run.
    CMainFrame* frame = m_pFrame.get();
    QMetaObject::invokeMethod(
        frame, [frame] { frame->close(); }, Qt::QueuedConnection);
  }

  if (m_fnOfferNewVersion)
    m_fnOfferNewVersion(m_pFrame.get());

  m_bStartupFinished = true;
  m_pFrame->SetStartupFinished(true);
  m_pFrame->ShowRestored();
  m_pFrame->update();
  return true;
}
