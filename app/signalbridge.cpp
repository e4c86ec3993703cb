#include "signalbridge.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace vantlo {

namespace {

int g_pipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int sig) {
  const int saved = errno;
  const unsigned char b = static_cast<unsigned char>(sig);
  if (g_pipe[1] >= 0) [[maybe_unused]]
    auto n = ::write(g_pipe[1], &b, 1);
  errno = saved;
}

}  // namespace

tsignalbridge::tsignalbridge(QObject* parent) : QObject(parent) {
  if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = OnTerminationSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  notifier_ = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { OnReadable(); });
}

tsignalbridge::~tsignalbridge() {
  struct sigaction sa {};
  sa.sa_handler = SIG_DFL;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

void tsignalbridge::OnReadable() {
  unsigned char b = 0;
  int last = 0;
  while (::read(g_pipe[0], &b, 1) == 1) last = b;
  if (last) emit terminationRequested(last);
}

}  // namespace vantlo
