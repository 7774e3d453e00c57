#pragma once
// CVersionCheckGui: the version check as the program runs it: automatically from the
// splash screen's first tick (its dialog offered once the main window exists), and on
// demand from "Check for Update". The caller waits with the wait cursor; the fetch never
// keeps it longer than its 10-second limit. Thread rule: GUI thread.
#include <functional>
#include <string>

#include "base/app_context.h"
#include "update/update_check.h"

class QWidget;

inline constexpr char kNoInternetConnection[] =
    "Unable to Get Internet Connection !!! No Update Check Availalble ...";

class CVersionCheckGui {
 public:
  // hasConnection: whether the machine has a network connection at all.
  CVersionCheckGui(AppContext& context, IUrlFetcher& fetcher, std::function<bool()> hasConnection);

  // Start-up: the automatic check (not forced).
  void RunAutomatic();
  // After the main window is created: the dialog when a newer version was found; its
  // check box is written to NoUpdateCheck when it closes.
  void OfferNewVersion(QWidget* parent);
  // "Check for Update": the connection check, a forced check, and the dialog.
  void RunCommand(QWidget* parent);

  const CUpdateCheck& Check() const { return m_check; }
  // The version file's address: the VersionFileUrl setting, else the program's own.
  std::string Url() const;

 private:
  void RunCheck(bool forced);
  void ShowDialog(QWidget* parent);

  AppContext& m_context;
  std::function<bool()> m_fnHasConnection;
  CUpdateCheck m_check;
};
