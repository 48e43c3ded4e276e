#pragma once

#include <memory>
#include <optional>
#include <string_view>

namespace pwx {

// The loudness and true peak of an MP3 as decoders will play it.
struct EncodedLoudness {
  std::optional<double> Lufs;
  std::optional<double> TruePeakDbtp;
};

// Decodes and measures an MP3 while it is being encoded, on a thread of its own: where a
// second processor is free, measuring what was written costs no time. Memory stays bounded:
// Feed waits while the thread is far behind.
class EncodedLoudnessMeter {
 public:
  EncodedLoudnessMeter();
  // Stops the thread, measured or not.
  ~EncodedLoudnessMeter();
  EncodedLoudnessMeter(const EncodedLoudnessMeter&) = delete;
  EncodedLoudnessMeter& operator=(const EncodedLoudnessMeter&) = delete;

  // The next bytes of the MP3 (copied).
  void Feed(std::string_view bytes);
  // Waits for the thread to measure all it was fed. Raises the thread's error, if any.
  EncodedLoudness Finish();

 private:
  struct Worker;
  std::unique_ptr<Worker> worker_;
};

}  // namespace pwx
