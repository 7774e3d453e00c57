#pragma once
// CQuitSignals: SIGINT, SIGTERM and SIGHUP (a logout, a service manager, Ctrl+C in the
// terminal) end the program the orderly way, so that a running acquisition records its
// end. The signal handler only writes a byte to a socket pair; the callback runs on the
// GUI thread from the event loop.
// Thread rule: created and used on the GUI thread.
#include <QObject>
#include <functional>

class QSocketNotifier;

class CQuitSignals : public QObject {
  Q_OBJECT

 public:
  explicit CQuitSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
  ~CQuitSignals() override;

 private:
  void OnReadable();

  std::function<void(int)> m_onSignal;
  QSocketNotifier* m_pNotifier = nullptr;
};
