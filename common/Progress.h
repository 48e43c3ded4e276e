#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace pwx {

// What a step counts: things the user counts one by one (clips), shown as "3 of 10"; or
// units only a share of which means anything (bytes, samples), shown as a bar or a
// percentage.
enum class ProgressUnit { Share, Items };

// How far long work is: `Done` of `Total` units (bytes, clips, samples: whatever the step
// counts) of the step named by `Text` ("Writing 003.mp3", "Verifying 003.mp3", "Decoding
// the clips"). Total 0 means the step cannot say how much is left.
struct ProgressStep {
  std::uint64_t Done = 0;
  std::uint64_t Total = 0;
  std::string Text;
  ProgressUnit Unit = ProgressUnit::Share;
  bool operator==(const ProgressStep&) const = default;
};

// Where long work says how far it is; called from whichever thread does the work.
using ProgressCallback = std::function<void(const ProgressStep&)>;

// What every long job takes: where to say how far it is, and the flag that stops it at its
// next safe point (the window's Cancel, a signal on the command line). Both may be empty.
struct WorkControl {
  ProgressCallback Progress;
  const std::atomic<bool>* Cancel = nullptr;

  void Report(std::uint64_t done, std::uint64_t total, const std::string& text,
              ProgressUnit unit = ProgressUnit::Share) const {
    if (Progress) Progress({done, total, text, unit});
  }
  bool Cancelled() const { return Cancel != nullptr && Cancel->load(); }
};

// The step as a person reads it: "Decoding the clips: 3 of 10" for a step of items, its text
// alone for one of shares (a bar or a percentage shows how far it is).
std::string ProgressText(const ProgressStep& step);

// How much of the step is done, in `units` parts of the whole (a bar's steps); 0 while it
// cannot say.
std::uint64_t ProgressIn(const ProgressStep& step, std::uint64_t units);

// The same from 0 to 100.
int ProgressPercent(const ProgressStep& step);

// The control of part `part` (from 0) of `parts` equal parts of a job: the part's steps are
// reported as that share of the whole, keeping their texts; the cancel flag is the whole's.
WorkControl PartOf(const WorkControl& whole, std::size_t part, std::size_t parts);

}  // namespace pwx
