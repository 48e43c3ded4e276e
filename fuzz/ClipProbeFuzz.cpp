// Any bytes as a clip: the probe never crashes or hangs, whatever it is fed, and places every
// problem inside the clip, whether it is fed whole or in small pieces. The two need not count
// the same frames: on garbage the decoder's frame search depends on how much lies ahead.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "audio/ClipProbe.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto checkFacts = [size](const ClipFacts& facts) {
    PWX_FUZZ_CHECK(facts.Bytes == size);
    PWX_FUZZ_CHECK(std::isfinite(facts.Seconds()) && facts.Seconds() >= 0);
    for (const DecodeProblem& problem : facts.Problems) {
      PWX_FUZZ_CHECK(problem.ByteOffset <= size);
    }
    PWX_FUZZ_CHECK(facts.AudioBytes <= facts.Bytes);
    if (facts.PlayableMp3()) {
      PWX_FUZZ_CHECK(facts.SampleRate > 0 && facts.Channels > 0 && facts.Layer == 3);
      PWX_FUZZ_CHECK(facts.AudioBytes * 10 >= facts.Bytes * 9);
    }
  };
  const ClipFacts whole = ProbeClipBytes(bytes);
  checkFacts(whole);

  if (size == 0) return 0;
  const std::size_t piece = 1 + data[0] % 97;
  ClipProbe probe;
  for (std::size_t at = 0; at < size; at += piece) probe.Feed(bytes.substr(at, piece));
  const ClipFacts pieces = probe.Finish();
  checkFacts(pieces);
  PWX_FUZZ_CHECK(pieces.Container == whole.Container);
  return 0;
}
