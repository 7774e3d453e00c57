#include "app/gui/quit_signals.h"

#include <QSocketNotifier>
#include <csignal>

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

int g_signalSockets[2] = {-1, -1};
constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnQuitSignal(int signal) {
  const unsigned char byte = static_cast<unsigned char>(signal);
  // Only async-signal-safe calls here; a full pipe simply drops a repeated signal.
  [[maybe_unused]] const ssize_t written = ::write(g_signalSockets[0], &byte, 1);
}

}  // namespace

CQuitSignals::CQuitSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
#ifndef _WIN32
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSockets) != 0)
    return;
  m_pNotifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
  connect(m_pNotifier, &QSocketNotifier::activated, this, &CQuitSignals::OnReadable);
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kQuitSignals)
    sigaction(signal, &action, nullptr);
#endif
}

CQuitSignals::~CQuitSignals() {
#ifndef _WIN32
  if (m_pNotifier == nullptr)
    return;
  for (int signal : kQuitSignals)
    std::signal(signal, SIG_DFL);
  ::close(g_signalSockets[0]);
  ::close(g_signalSockets[1]);
  g_signalSockets[0] = g_signalSockets[1] = -1;
#endif
}

void CQuitSignals::OnReadable() {
#ifndef _WIN32
  unsigned char byte = 0;
  if (::read(g_signalSockets[1], &byte, 1) == 1 && m_onSignal)
    m_onSignal(byte);
#endif
}
