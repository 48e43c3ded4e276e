#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "audio/IntakeReport.h"

namespace pwx {

// Measures the loudness of clips on a thread of its own, one after the other, so that the
// window stays usable meanwhile. A clip is known by its number; measuring a number again, or
// dropping it, throws away what was under way or found for it before, so a measure never
// outlives the file it was taken of.
class LoudnessMeasuring {
 public:
  // `measured` is called on the measuring thread each time a measure is done (or failed).
  explicit LoudnessMeasuring(std::function<void()> measured = {});
  // Stops what is under way and waits for the thread.
  ~LoudnessMeasuring();
  LoudnessMeasuring(const LoudnessMeasuring&) = delete;
  LoudnessMeasuring& operator=(const LoudnessMeasuring&) = delete;

  // Calls `measured` from then on.
  void SetListener(std::function<void()> measured);

  // Measures the file at `path` as clip `number`.
  void Start(int number, const std::string& path);
  // Forgets clip `number`: its measure under way, waiting or done.
  void Drop(int number);
  void DropAll();

  enum class State { Unknown, Measuring, Measured, Failed };
  struct Reading {
    State Now = State::Unknown;
    ClipLoudness Loudness;  // when measured
  };
  Reading Of(int number) const;

  // Waits until nothing waits or is under way (the command line and the tests).
  void WaitUntilIdle();

 private:
  struct Worker;
  std::unique_ptr<Worker> worker_;
};

}  // namespace pwx
