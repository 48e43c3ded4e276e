#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace pwx {

// How far long work is: `Done` of `Total` units (bytes, clips, samples: whatever the step
// counts) of the step named by `Text` ("Writing 003.mp3", "Verifying 003.mp3", "Decoding
// the clips"). Total 0 means the step cannot say how much is left.
struct ProgressStep {
  std::uint64_t Done = 0;
  std::uint64_t Total = 0;
  std::string Text;
  bool operator==(const ProgressStep&) const = default;
};

// Where long work says how far it is; called from whichever thread does the work.
using ProgressCallback = std::function<void(const ProgressStep&)>;

// What every long job takes: where to say how far it is, and the flag that stops it at its
// next safe point (the window's Cancel, a signal on the command line). Both may be empty.
struct WorkControl {
  ProgressCallback Progress;
  const std::atomic<bool>* Cancel = nullptr;

  void Report(std::uint64_t done, std::uint64_t total, const std::string& text) const {
    if (Progress) Progress({done, total, text});
  }
  bool Cancelled() const { return Cancel != nullptr && Cancel->load(); }
};

}  // namespace pwx
