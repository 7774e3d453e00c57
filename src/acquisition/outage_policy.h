#pragma once
// COutagePolicy: what a failed read decides and, while the server is away, when to try
// to reconnect. With reconnection on (setting ReconnectOnServerLoss), a server that no
// longer answers starts an outage: the acquisition keeps running, no cycle reads, and a
// reconnection is tried after pauses of 1, 2, 5, 10 and then 30 seconds; every cycle the
// outage costs is counted. Otherwise a failed read stops the acquisition. It keeps no
// clock and writes no log: the engine hands it the time and logs the lines it returns.
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <cstdint>
#include <string>

enum class ReadFailureDecision {
  kStop,       // the acquisition stops, with the read error report
  kReconnect,  // the server is gone: the outage begins, the acquisition goes on
};

class COutagePolicy {
 public:
  void SetReconnectOnServerLoss(bool on) { m_bReconnectOnServerLoss = on; }
  bool ReconnectOnServerLoss() const { return m_bReconnectOnServerLoss; }

  // A read failed: reconnect only when asked to, when the server no longer answers and
  // when the program can reconnect at all.
  ReadFailureDecision DecideOnReadFailure(bool serverAlive, bool canReconnect) const;

  // Start (fresh: a new acquisition, its counts from zero) and Resume.
  void OnAcquisitionStart(bool fresh);
  // The outage begins at now (seconds since 1970; startText "hh:mm:ss"); the failed cycle
  // is its first missed one.
  void Begin(int64_t now, const std::string& startText);
  // Running, with the server gone: no cycle reads until it answers again.
  bool IsReconnecting() const { return m_bReconnecting; }

  // A tick while away (groupDue: a group was due in it). True when a reconnection is to
  // be tried now; otherwise the tick is counted as missed when a group was due.
  bool TryNow(int64_t now, bool groupDue);
  // The attempt failed: the tick is missed; returns the pause (s) to the next attempt.
  int AttemptFailed(int64_t now, bool groupDue);
  // The server answers again at now: the line that says how long it was away.
  std::string End(int64_t now, const std::string& endText);
  // The acquisition stops while the server is still away: the line that says so.
  std::string EndAtStop(int64_t now, const std::string& endText);

  // Cycles missed while the server was away, over the acquisition.
  int ServerAwayCycles() const { return m_nMissedCycles; }
  // The server was still away when the acquisition stopped.
  bool EndedInOutage() const { return m_bEndedInOutage; }

  // Pauses between reconnection attempts, in seconds; the last one repeats.
  static int PauseAfterAttempts(int attempts);

 private:
  // Closes the outage: its missed cycles join the acquisition's.
  std::string Close(const char* format, int64_t now, const std::string& endText);

  bool m_bReconnectOnServerLoss = false;
  bool m_bReconnecting = false;
  bool m_bEndedInOutage = false;
  int64_t m_nOutageStart = 0;    // seconds since 1970
  int64_t m_nNextReconnect = 0;  // seconds since 1970
  int m_nAttempts = 0;
  int m_nOutageMissedCycles = 0;
  int m_nMissedCycles = 0;
  std::string m_sOutageStartText;
};

// The log lines of an outage.
inline constexpr char kConnectionLostLine[] = "Connection to Server has been lost ...";
std::string ReconnectFailedLine(const std::string& serverId, const std::string& host, int pause);
