// The check of each clip's copy against the player's limit, and against the source it was
// imported from: the same bytes, converted or levelled from it, or changed since.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "audio/ClipFiles.h"
#include "delivery/tests/CheckedProject.h"

namespace pwx {
namespace {

using namespace std::chrono_literals;

constexpr std::uintmax_t kLimit = kMaxClipBytes;

// The good clip padded with zeros to `size` bytes, as copy and source alike.
void PaddedClip(Checked& t, std::uintmax_t size) {
  fs::resize_file(t.Copy(1), size);
  fs::resize_file(t.map[0].second, size);
}

struct SizeCase {
  const char* name;
  std::uintmax_t bytes;
  std::vector<std::string> found;
};

void PrintTo(const SizeCase& c, std::ostream* os) {
  *os << c.name;
}

class CopySize : public Checked, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(CopySize, IsHeldToThePlayersLimit) {
  PaddedClip(*this, GetParam().bytes);
  std::vector<std::string> found;
  CheckOptions options;
  for (const auto& f : CheckProject(editor->Snapshot(), options)) {
    if (f.Clip == 1) found.push_back(f.Code);
  }
  EXPECT_EQ(found, GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopySize,
    ::testing::Values(SizeCase{"AtTheLimit", kLimit, {"copy-format"}},
                      SizeCase{"OneByteOver", kLimit + 1, {"copy-too-large", "copy-format"}},
                      SizeCase{"TwelveMegabytes", 12'000'000, {"copy-too-large", "copy-format"}},
                      // Far over, nothing of it is read: there is no format to tell.
                      SizeCase{"FarOver", 64 * kLimit, {"copy-too-large"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Checked, ACopyOverTheLimitSaysBothSizes) {
  PaddedClip(*this, 12'582'912);
  Found();
  EXPECT_EQ(Only("copy-too-large").Message,
            "001.mp3 is 12,582,912 bytes, more than the 10,485,760 bytes the player can hold, so "
            "it never plays; import a shorter clip.");
  EXPECT_EQ(CheckSummary(findings), "Check: 1 error");
  PaddedClip(*this, 4 * kLimit);
  Found();
  EXPECT_EQ(Only("copy-too-large").Message,
            "001.mp3 is 41,943,040 bytes, more than the 10,485,760 bytes the player can hold, so "
            "it never plays; import a shorter clip. A copy this large is not decoded.");
}

// A WAV file of `seconds` of silence, 16-bit mono at 22,050 Hz.
std::string SilentWave(double seconds) {
  const auto data = static_cast<std::uint32_t>(seconds * 22050) * 2;
  auto le = [](std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i) text += static_cast<char>((value >> (8 * i)) & 0xFF);
    return text;
  };
  return "RIFF" + le(36 + data, 4) + "WAVE" + "fmt " + le(16, 4) + le(1, 2) + le(1, 2) +
         le(22050, 4) + le(44100, 4) + le(2, 2) + le(16, 2) + "data" + le(data, 4) +
         std::string(data, '\0');
}

struct SourceCase {
  const char* name;
  std::function<std::string()> source;  // the bytes of clip 1's source
  std::chrono::seconds modifiedAfterCopy;
  const char* copy;  // the fixture in the project
  std::vector<std::string> found;
  const char* says;  // a part of the message about the source
};

void PrintTo(const SourceCase& c, std::ostream* os) {
  *os << c.name;
}

class Source : public Checked, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(Source, IsTheCopysOriginOrChangedSinceTheImport) {
  const SourceCase& c = GetParam();
  map[0].second = dir / "src/Fire alarm.wav";
  WriteFile(map[0].second, c.source());
  fs::copy_file(Fixture(c.copy), Copy(1), fs::copy_options::overwrite_existing);
  fs::last_write_time(map[0].second, fs::last_write_time(Copy(1)) + c.modifiedAfterCopy);
  Open();
  Found();
  std::vector<std::string> found;
  for (const auto& f : findings) {
    if (f.Clip == 1 && f.Code != "copy-format") found.push_back(f.Code);
  }
  EXPECT_EQ(found, c.found);
  const std::string& message = Only(c.found.back()).Message;
  EXPECT_NE(message.find(c.says), std::string::npos) << message;
  // Importing a converted clip again would only undo its levelling.
  if (c.found.back() == "copy-converted") {
    EXPECT_EQ(message.find(" again"), std::string::npos) << message;
  }
}

const auto kWave = [] { return SilentWave(1.0); };
const auto kMp3 = [] { return testing::TempFolder::ReadAt(Fixture("mpeg2-mono-cbr.mp3")); };

INSTANTIATE_TEST_SUITE_P(
    Cases, Source,
    ::testing::Values(
        SourceCase{"ConvertedFromWave",
                   kWave,
                   -1h,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-converted"},
                   "001.mp3 was converted to MP3, and perhaps levelled, from its source "},
        SourceCase{"LevelledFromAnMp3",
                   kMp3,
                   -1h,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-converted"},
                   "001.mp3 was levelled from its source "},
        SourceCase{"SaysWhatTheSourceIs",
                   kWave,
                   -1h,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-converted"},
                   "Fire alarm.wav (WAV, 22,050 Hz, mono, 1.00 s) when it was imported; the "
                   "copy is what the player plays, and nothing needs doing."},
        // A FAT card's clock stamps a copy up to 2 seconds early.
        SourceCase{"TouchedWithinAClockTick",
                   kWave,
                   1s,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-converted"},
                   "converted"},
        SourceCase{"EditedAfterTheImport",
                   kWave,
                   1h,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-differs-from-source"},
                   "which was modified after the copy was made"},
        SourceCase{"OfAnotherLength",
                   [] { return SilentWave(3.0); },
                   -1h,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-differs-from-source"},
                   "which lasts 3.00 s against the 1.00 s of the copy"},
        SourceCase{"NoSoundAnyMore",
                   [] { return std::string("notes"); },
                   -1h,
                   "mpeg1-stereo-cbr.mp3",
                   {"copy-differs-from-source"},
                   "which holds no sound the editor reads"},
        SourceCase{"LevelledCopyDamaged",
                   kMp3,
                   -1h,
                   "corrupted-middle.mp3",
                   {"copy-damaged", "copy-differs-from-source"},
                   "which was not modified after the copy was made, and the copy is damaged"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Checked, ACopyCutShortSaysHowFarItMatches) {
  fs::copy_file(Fixture("truncated.mp3"), Copy(1), fs::copy_options::overwrite_existing);
  fs::last_write_time(map[0].second, fs::last_write_time(Copy(1)) - 1h);
  Found();
  EXPECT_NE(Only("copy-differs-from-source")
                .Message.find("holds only the first 16,985 of the 17,135 bytes of its source "),
            std::string::npos);
  EXPECT_NE(Only("copy-differs-from-source")
                .Message.find(", though the source has not changed since the import: the copy "
                              "was changed in the project folder. Import the clip again to copy "
                              "it anew."),
            std::string::npos);
}

}  // namespace
}  // namespace pwx
