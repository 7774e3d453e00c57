#pragma once
// CAcquisitionForwarding: the program's acquisition forwarded to PostgreSQL when the
// setting ForwardTo holds a URL. The view tells it when the acquisition starts, ticks and
// stops; it never blocks the tick: at the stop the forwarder gets a bounded time to catch
// up on its own thread and the outcome is logged when it has ended.
// Thread rule: owner's thread (the GUI thread); the forwarder runs on its own.
#include <memory>
#include <string>

#include "base/app_context.h"

class CForwarder;

inline constexpr char kForwardingEnded[] = "Forwarding to PostgreSQL Ended: %lld forwarded";
inline constexpr char kForwardingWaiting[] = ", %lld waiting to be forwarded !!!";

class CAcquisitionForwarding {
 public:
  explicit CAcquisitionForwarding(AppContext& context);
  ~CAcquisitionForwarding();
  CAcquisitionForwarding(const CAcquisitionForwarding&) = delete;
  CAcquisitionForwarding& operator=(const CAcquisitionForwarding&) = delete;

  // The acquisition started or resumed recording under acquisitionId.
  void OnStarted(const std::string& databasePath, int acquisitionId, const std::string& project);
  // Each base tick: a new row may be there; the forwarder's messages are logged.
  // unsettledRows: the last rows the acquisition may still rewrite.
  void OnTick(int unsettledRows = 0);
  // The acquisition stopped: the forwarder catches up for at most catchUpMs.
  void OnStopped(int catchUpMs = kDefaultCatchUpMs);
  bool IsActive() const { return m_pForwarder != nullptr; }

  static constexpr int kDefaultCatchUpMs = 10000;

 private:
  void Drain();
  void EndIfDone(bool wait);

  AppContext& m_context;
  std::unique_ptr<CForwarder> m_pForwarder;
  bool m_bStopping = false;
};
