// Any bytes as a vol.cfg: the first line either gives a volume on the slider or raises the
// integer error naming that line (a long one shortened in the middle).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/EditorError.h"
#include "common/MessageText.h"
#include "common/TextFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  const auto lines =
      SplitLines(DecodeTextBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
  if (lines.empty()) return 0;  // the start-up reports "List index out of bounds (0)"
  try {
    const int volume = VolumeFromText(lines.front());
    PWX_FUZZ_CHECK(volume >= kMinVolume && volume <= kMaxVolume);
  } catch (const EditorError& error) {
    // The error box shows the text up to a zero byte, so compare only that much.
    const std::string expected =
        "'" + QuoteForMessage(lines.front()) + "' is not a valid integer value";
    PWX_FUZZ_CHECK(std::string(error.what()) == expected.substr(0, expected.find('\0')));
  }
  return 0;
}
