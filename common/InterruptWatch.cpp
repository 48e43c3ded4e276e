#include "common/InterruptWatch.h"

#include <csignal>
#include <cstdlib>
#include <iterator>

#include "common/OpenTemporaries.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace pwx {

namespace {

// What a signal handler may touch: lock-free atomics only.
std::atomic<bool> cancelled{false};
std::atomic<int> caught{0};

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "the signal handler needs lock-free flags");

// Notes the first signal; returns false for a second one, which ends the process.
bool NoteSignal(int signal) {
  int none = 0;
  if (caught.compare_exchange_strong(none, signal)) {
    cancelled.store(true);
    return true;
  }
  RemoveOpenTemporaries();
  return false;
}

#ifdef _WIN32

BOOL WINAPI OnConsoleEvent(DWORD event) {
  const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
  const int signal = interrupt ? SIGINT : SIGTERM;
  // A closed console or an ending session gives the process no time to wind down.
  if (!NoteSignal(signal) || !interrupt) {
    RemoveOpenTemporaries();
    ExitProcess(128 + signal);
  }
  return TRUE;
}

#else

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[std::size(kSignals)];

extern "C" void OnSignal(int signal) {
  if (NoteSignal(signal)) return;
  // The second one: it ends the process as it would have without the watch.
  struct sigaction fallback = {};
  fallback.sa_handler = SIG_DFL;
  sigaction(signal, &fallback, nullptr);
  raise(signal);  // delivered as the handler returns
}

#endif

}  // namespace

InterruptWatch::InterruptWatch() {
  cancelled.store(false);
  caught.store(0);
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : kSignals) sigaddset(&action.sa_mask, signal);
  action.sa_flags = SA_RESTART;  // reads and writes go on; the work looks at the flag
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &action, &previous[i]);
  }
#endif
}

InterruptWatch::~InterruptWatch() {
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
#else
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &previous[i], nullptr);
  }
#endif
}

const std::atomic<bool>& InterruptWatch::Cancel() const {
  return cancelled;
}

int InterruptWatch::Signal() const {
  return caught.load();
}

void InterruptWatch::EndAsInterrupted() const {
  const int signal = Signal();
#ifndef _WIN32
  if (signal != 0) {
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
  }
#endif
  std::_Exit(128 + (signal != 0 ? signal : SIGINT));
}

std::string SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
#ifndef _WIN32
    case SIGHUP:
      return "SIGHUP";
#endif
    default:
      return "signal " + std::to_string(signal);
  }
}

}  // namespace pwx
