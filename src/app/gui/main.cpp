// Velmora OPC Explorer: the desktop program.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/gui/main_frame.h"
#include "app/gui/quit_signals.h"
#include "app/gui/velmora_app.h"
#include "app/gui/velmora_session.h"
#include "base/atomic_file.h"
#include "update/gui/version_check_gui.h"
#include "update/network_presence.h"
#include "update/url_fetch.h"

int main(int argc, char** argv) {
  // A file size limit is a write error the program reports, not a signal that kills it.
  IgnoreFileSizeLimitSignal();
  QApplication application(argc, argv);  // removes the toolkit's own options from argv

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.push_back(QString::fromLocal8Bit(argv[i]).toStdString());
  const CommandLineOptions options = ParseCommandLine(args);
  if (options.help) {
    std::cout << kCommandLineUsage;
    return 0;
  }
  if (!options.ok) {
    std::cerr << "velmora: " << options.error << "\n" << kCommandLineUsage;
    return 2;
  }

  CVelmoraApp app(options);
  CVelmoraSession& session = app.Session();
  app.SetDatabaseCheck([&session](const std::string& path) { return session.CheckDatabase(path); });
  CCurlFetcher fetcher;
  CVersionCheckGui versionCheck(app.Context(), fetcher, HasNetworkConnection);
  app.SetVersionCheck([&versionCheck] { versionCheck.RunAutomatic(); },
                      [&versionCheck](QWidget* parent) { versionCheck.OfferNewVersion(parent); });
  if (!app.InitInstance())
    return 1;
  if (CMainFrame* frame = app.MainFrame()) {
    session.Attach(*frame);
    frame->SetCheckForUpdate([&versionCheck, frame] { versionCheck.RunCommand(frame); });
  }
  // Ended by a signal: the acquisition is stopped (its end recorded), then the program quits
  // without questions, as nobody is there to answer them.
  CQuitSignals quitSignals([&session](int signal) {
    session.EndForSignal(signal);
    QApplication::exit(0);
  });
  const int result = application.exec();
  session.Detach();
  return result;
}
