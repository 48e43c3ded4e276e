// Any bytes as a plist.cfg: load them into the image, show it in a fresh project, save it
// back, and check that the saved image is well formed and that a second round changes
// nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/IntegerText.h"
#include "devicefiles/PlayListFile.h"
#include "fuzz/FuzzCheck.h"

namespace {

constexpr int kOfferedClips = 40;  // clips 41..255 in a file are not offered

std::vector<std::string> ClipChoices() {
  std::vector<std::string> choices{"None"};
  for (int n = 1; n <= kOfferedClips; ++n) choices.push_back(pwx::ThreeDigits(n));
  return choices;
}

bool SameRange(const pwx::PlayListImage& a, const pwx::PlayListImage& b, std::size_t from,
               std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (a.Bytes[i] != b.Bytes[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  static const std::vector<std::string> choices = ClipChoices();

  PlayListImage image;
  ResetPlayListImage(image);
  LoadPlayListBytes(image, std::string_view(reinterpret_cast<const char*>(data), size));
  const PlayListImage loaded = image;

  AlarmProject project;
  DiagnosticLog log;
  ApplyPlayList(image, project, choices, log);
  PWX_FUZZ_CHECK(log.Size() == 129);
  PWX_FUZZ_CHECK(project.Mode.Value == loaded.Bytes[8]);

  CapturePlayList(image, project, log);
  PWX_FUZZ_CHECK(HasPlayListSignature(image));
  PWX_FUZZ_CHECK(image.Bytes[8] == loaded.Bytes[8]);
  // What the window does not edit travels unchanged.
  PWX_FUZZ_CHECK(SameRange(image, loaded, 4, 8) && SameRange(image, loaded, 9, 32));
  PWX_FUZZ_CHECK(SameRange(image, loaded, 64, 96) && SameRange(image, loaded, 128, 160));
  PWX_FUZZ_CHECK(SameRange(image, loaded, 192, 256) && SameRange(image, loaded, 384, 512));
  for (int s = 0; s < kSlotCount; ++s) {
    const std::uint8_t repeat = loaded.Bytes[96 + s];
    PWX_FUZZ_CHECK(image.Bytes[96 + s] == (repeat == 0 ? 1 : repeat));
    PWX_FUZZ_CHECK(image.Bytes[160 + s] == (loaded.Bytes[160 + s] == 1 ? 1 : 0));
    // A saved list is a prefix of offered clips, and the count says how long it is.
    int stored = 0;
    while (stored < kClipsPerSlot && image.Bytes[256 + 4 * s + stored] != 0) {
      PWX_FUZZ_CHECK(image.Bytes[256 + 4 * s + stored] <= kOfferedClips);
      PWX_FUZZ_CHECK(image.Bytes[256 + 4 * s + stored] == loaded.Bytes[256 + 4 * s + stored]);
      ++stored;
    }
    for (int k = stored; k < kClipsPerSlot; ++k) PWX_FUZZ_CHECK(image.Bytes[256 + 4 * s + k] == 0);
    PWX_FUZZ_CHECK(image.Bytes[32 + s] == (stored == 0 ? 1 : stored));
  }

  // Showing and saving the saved image again gives the same bytes.
  AlarmProject again;
  DiagnosticLog againLog;
  ApplyPlayList(image, again, choices, againLog);
  PlayListImage resaved = image;
  CapturePlayList(resaved, again, againLog);
  PWX_FUZZ_CHECK(resaved == image);
  return 0;
}
