// Any bytes as a clip: the probe never crashes or hangs, whatever it is fed, places every
// problem inside the clip, and finds the same fed in small pieces as fed whole.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "audio/ClipProbe.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ClipFacts whole = ProbeClipBytes(bytes);
  PWX_FUZZ_CHECK(whole.Bytes == size);
  PWX_FUZZ_CHECK(std::isfinite(whole.Seconds()) && whole.Seconds() >= 0);
  for (const DecodeProblem& problem : whole.Problems) PWX_FUZZ_CHECK(problem.ByteOffset <= size);
  if (whole.PlayableMp3()) PWX_FUZZ_CHECK(whole.SampleRate > 0 && whole.Channels > 0);

  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % 97;
  ClipProbe probe;
  for (std::size_t at = 0; at < size; at += piece) probe.Feed(bytes.substr(at, piece));
  const ClipFacts pieces = probe.Finish();
  PWX_FUZZ_CHECK(pieces.Frames == whole.Frames);
  PWX_FUZZ_CHECK(pieces.Samples == whole.Samples);
  PWX_FUZZ_CHECK(pieces.Problems == whole.Problems);
  return 0;
}
