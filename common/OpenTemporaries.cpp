#include "common/OpenTemporaries.h"

#include <algorithm>
#include <array>
#include <atomic>

#ifdef _WIN32
#include <io.h>

#include <cwchar>
#else
#include <unistd.h>
#endif

namespace pwx {

namespace {

using PathChar = std::filesystem::path::value_type;
constexpr std::size_t kLongestPath = 4096;

// Free, being filled, holding a temporary, being removed by the handler.
enum State : int { kFree, kFilling, kNoted, kRemoving };

struct Place {
  std::atomic<int> State{kFree};
  std::array<PathChar, kLongestPath> Path{};
};

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free state");

// The one table of the process: a signal handler reaches nothing else.
std::array<Place, 32> places;

void Unlink(const PathChar* path) {
#ifdef _WIN32
  _wunlink(path);
#else
  unlink(path);
#endif
}

}  // namespace

int NoteOpenTemporary(const std::filesystem::path& temporary) noexcept {
  const auto& text = temporary.native();
  if (text.size() >= kLongestPath) return -1;
  for (std::size_t i = 0; i < places.size(); ++i) {
    int expected = kFree;
    if (!places[i].State.compare_exchange_strong(expected, kFilling)) continue;
    std::copy(text.begin(), text.end(), places[i].Path.begin());
    places[i].Path[text.size()] = PathChar{};
    places[i].State.store(kNoted);
    return static_cast<int>(i);
  }
  return -1;
}

void ForgetOpenTemporary(int place) noexcept {
  if (place < 0 || static_cast<std::size_t>(place) >= places.size()) return;
  // A place that the handler is emptying stays taken: the process is ending.
  int expected = kNoted;
  places[static_cast<std::size_t>(place)].State.compare_exchange_strong(expected, kFree);
}

void RemoveOpenTemporaries() noexcept {
  for (Place& place : places) {
    int expected = kNoted;
    if (place.State.compare_exchange_strong(expected, kRemoving)) Unlink(place.Path.data());
  }
}

}  // namespace pwx
