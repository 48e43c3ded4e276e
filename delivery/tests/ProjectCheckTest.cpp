// The project check against real and broken clips: each finding, where it is, and what it
// does not find.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "delivery/tests/CheckedProject.h"

namespace pwx {
namespace {

TEST_F(Checked, ASoundProjectHasOnlyItsSilentInputsAndTheFormatsToReport) {
  EXPECT_EQ(Found(), kSilentDi3Di4);
  EXPECT_EQ(Only("copy-format").Message,
            "001.mp3: MPEG-1 Layer III, 44,100 Hz, stereo, constant bit rate, 1.00 s.");
  EXPECT_EQ(CheckSummary(findings), "Check: no problems found");
}

struct CopyCase {
  const char* name;
  std::function<void(Checked&)> damage;
  std::vector<std::string> found;
};

void PrintTo(const CopyCase& c, std::ostream* os) {
  *os << c.name;
}

class CopyFindings : public Checked, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyFindings, AreFoundWhereTheyAre) {
  GetParam().damage(*this);
  editor->OpenProjectFolder(dir / "P");
  EXPECT_EQ(Found(), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyFindings,
    ::testing::Values(
        CopyCase{"Missing", [](Checked& t) { fs::remove(t.Copy(2)); },
                 With({"copy-missing @ clip 002, 002.mp3"})},
        CopyCase{"Wave",
                 [](Checked& t) {
                   fs::copy_file(Fixture("wave-named.mp3"), t.Copy(2),
                                 fs::copy_options::overwrite_existing);
                 },
                 With({"copy-undecodable @ clip 002, 002.mp3"})},
        CopyCase{"Empty", [](Checked& t) { WriteFile(t.Copy(2), ""); },
                 With({"copy-undecodable @ clip 002, 002.mp3"})},
        // Files that hold MPEG audio frames, or bytes that look like them, but are no MP3.
        CopyCase{"WaveOfMpegAudio",
                 [](Checked& t) {
                   fs::copy_file(Fixture("wave-mpeg.mp3"), t.Copy(2),
                                 fs::copy_options::overwrite_existing);
                 },
                 With({"copy-undecodable @ clip 002, 002.mp3"})},
        CopyCase{"LayerTwo",
                 [](Checked& t) {
                   fs::copy_file(Fixture("layer2.mp3"), t.Copy(2),
                                 fs::copy_options::overwrite_existing);
                 },
                 With({"copy-undecodable @ clip 002, 002.mp3"})},
        CopyCase{"MostlyJunk",
                 [](Checked& t) {
                   std::string junk(30000, '\x55');
                   WriteFile(t.Copy(2),
                             junk + testing::TempFolder::ReadAt(Fixture("mpeg1-mono-vbr.mp3")));
                 },
                 With({"copy-undecodable @ clip 002, 002.mp3"})},
        CopyCase{"FolderInItsPlace",
                 [](Checked& t) {
                   fs::remove(t.Copy(2));
                   fs::create_directory(t.Copy(2));
                 },
                 With({"copy-undecodable @ clip 002, 002.mp3"})},
        CopyCase{"Truncated",
                 [](Checked& t) {
                   fs::copy_file(Fixture("truncated.mp3"), t.Copy(1),
                                 fs::copy_options::overwrite_existing);
                 },
                 With({"copy-damaged @ clip 001, 001.mp3",
                       "copy-differs-from-source @ clip 001, 001.mp3"})},
        CopyCase{"CorruptedMiddle",
                 [](Checked& t) {
                   fs::copy_file(Fixture("corrupted-middle.mp3"), t.Copy(1),
                                 fs::copy_options::overwrite_existing);
                 },
                 With({"copy-damaged @ clip 001, 001.mp3",
                       "copy-differs-from-source @ clip 001, 001.mp3"})},
        CopyCase{
            "Stray",
            [](Checked& t) { fs::copy_file(Fixture("mpeg2-mono-cbr.mp3"), t.dir / "P/017.mp3"); },
            With({"copy-stray @ clip 017, 017.mp3"})},
        CopyCase{"SourceChanged", [](Checked& t) { WriteFile(t.map[1].second, "new recording"); },
                 With({"copy-differs-from-source @ clip 002, 002.mp3"})},
        CopyCase{"SourceGone", [](Checked& t) { fs::remove(t.map[1].second); },
                 With({"source-missing @ clip 002, 002.mp3"})},
        CopyCase{"ErrorClipGone", [](Checked& t) { fs::remove(t.dir / "P/Err1.mp3"); },
                 Then({"error-clip-missing @ Err1.mp3"})},
        CopyCase{"ErrorClipOther", [](Checked& t) { WriteFile(t.dir / "P/Err1.mp3", "ID3 other"); },
                 Then({"error-clip-missing @ Err1.mp3"})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Checked, ACopyThatIsNoMp3SaysWhatItIs) {
  fs::copy_file(Fixture("wave-mpeg.mp3"), Copy(1), fs::copy_options::overwrite_existing);
  WriteFile(Copy(2), std::string(30000, '\x55') +
                         testing::TempFolder::ReadAt(Fixture("mpeg1-mono-vbr.mp3")));
  Found();
  EXPECT_EQ(findings[0].Message,
            "001.mp3 is a WAV file, not MP3; import Clip 001 \"1-mpeg1-stereo-cbr\" again from an "
            "MP3 file.");
  EXPECT_EQ(findings[1].Message,
            "002.mp3 is no MP3: MPEG audio frames make up only 14% of its bytes; import Clip 002 "
            "\"2-mpeg1-mono-vbr\" again from an MP3 file.");
}

TEST_F(Checked, DamageIsPlacedAndTheFormatOfEachCopyIsTold) {
  fs::copy_file(Fixture("corrupted-middle.mp3"), Copy(1), fs::copy_options::overwrite_existing);
  Clip(3, "mpeg2-mono-cbr.mp3");
  Open();
  Found();
  EXPECT_EQ(Only("copy-damaged").Message,
            "001.mp3 is damaged: the decoder loses the frame sync at byte 8,776 (0.50 s); the "
            "player may skip or stop there. Import the clip again.");
  const auto formats = std::count_if(findings.begin(), findings.end(),
                                     [](const Finding& f) { return f.Code == "copy-format"; });
  EXPECT_EQ(formats, 3);
  EXPECT_EQ(findings[4].Message,
            "003.mp3: MPEG-2 Layer III, 22,050 Hz, mono, constant bit rate, 1.07 s.");
}

struct EditCase {
  const char* name;
  std::function<void(Editor&)> edit;
  std::vector<std::string> found;
};

void PrintTo(const EditCase& c, std::ostream* os) {
  *os << c.name;
}

class WindowFindings : public Checked, public ::testing::WithParamInterface<EditCase> {};

TEST_P(WindowFindings, FollowWhatASaveWouldStore) {
  GetParam().edit(*editor);
  EXPECT_EQ(Found(), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowFindings,
    ::testing::Values(
        // The next save drops the clip after the hole: it writes what is on disk already.
        EditCase{"Hole",
                 [](Editor& e) { e.SetClip(2, 1, "001"); },
                 {"slot-hole @ DI3 #2, clip 001", "input-silent @ DI4"}},
        EditCase{"Repeat",
                 [](Editor& e) {
                   e.SetRepeat(0, "abc");
                   e.SetRepeat(1, "300");
                 },
                 {"repeat-adjusted @ DI1", "repeat-adjusted @ DI2", "input-silent @ DI3",
                  "input-silent @ DI4", "unsaved @ plist.cfg"}},
        EditCase{"RepeatWithLeadingZeros", [](Editor& e) { e.SetRepeat(0, "003"); },
                 Then({"unsaved @ plist.cfg"})},
        EditCase{"DeviceId", [](Editor& e) { e.SetDeviceId("300"); },
                 Then({"device-id-invalid @ rtu.cfg"})},
        EditCase{"BaudRateTyped", [](Editor& e) { e.SetBaudRate("250000"); },
                 Then({"rtu-invalid @ rtu.cfg", "unsaved @ rtu.cfg"})},
        EditCase{"LineTooLong", [](Editor& e) { e.SetDeviceId(std::string(250, '0') + "1"); },
                 Then({"rtu-invalid @ rtu.cfg"})},
        EditCase{"Volume", [](Editor& e) { e.TrackBar1Change(9); }, Then({"unsaved @ vol.cfg"})},
        EditCase{"BinaryMode",
                 [](Editor& e) { e.ComboBox1Change("5"); },
                 {"input-silent @ bI3 (0011b)", "input-silent @ bI4 (0100b)",
                  "input-silent @ bI5 (0101b)", "input-silent @ bI6 (0110b)",
                  "input-silent @ bI7 (0111b)", "input-silent @ bI8 (1000b)",
                  "input-silent @ bI9 (1001b)", "input-silent @ bI10 (1010b)",
                  "input-silent @ bI11 (1011b)", "input-silent @ bI12 (1100b)",
                  "input-silent @ bI13 (1101b)", "input-silent @ bI14 (1110b)",
                  "input-silent @ bI15 (1111b)", "unsaved @ plist.cfg"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Checked, AClipTheLibraryLacksIsDroppedWithEveryLaterOne) {
  plist.Slot(0, {1, 7, 2});  // clip 7 is free
  Open();
  // plist.cfg on disk still holds clip 007 and 002, which the next save drops.
  EXPECT_EQ(Found(), With({"slot-clip-free @ DI1 #2, clip 007"}, {"unsaved @ plist.cfg"}));
  EXPECT_EQ(Only("slot-clip-free").Message,
            "DI1 #2 names clip 007, which is not in the library: saving drops it and every later "
            "clip of DI1, keeping only 001. Import clip 007 or choose another.");
  // A folder checked on its own is what is on disk: there is nothing unsaved to compare.
  editor->SetRepeat(0, "2");
  EXPECT_EQ(Found(false), With({"slot-clip-free @ DI1 #2, clip 007"}));
}

TEST_F(Checked, ErrorsComeFirstAndTheSummaryCountsThem) {
  fs::remove(Copy(2));
  editor->OpenProjectFolder(dir / "P");
  editor->SetRepeat(0, "0");
  editor->SetRepeat(1, "abc");
  Found();
  const auto sorted = ErrorsFirst(findings);
  EXPECT_EQ(sorted.front().Code, "copy-missing");
  EXPECT_EQ(sorted[1].Code, "repeat-adjusted");
  EXPECT_EQ(CheckSummary(findings), "Check: 1 error, 2 warnings");
  EXPECT_EQ(FindingLine(sorted.front()),
            "error: clip 002, 002.mp3: Clip 002 \"2-mpeg1-mono-vbr\" has no copy 002.mp3 in the "
            "project folder; import it again.");
}

TEST_F(Checked, ProgressCountsEveryClipAndCancelStops) {
  for (int n = 3; n <= 12; ++n) Clip(n, "mpeg1-stereo-cbr.mp3");
  Open();
  CheckOptions options;
  std::vector<std::uint64_t> done;
  options.Work.Progress = [&](const ProgressStep& step) {
    EXPECT_EQ(step.Total, 12u);
    EXPECT_EQ(ProgressText(step), "Decoding the clips: " + std::to_string(step.Done) + " of 12");
    done.push_back(step.Done);
  };
  CheckProject(editor->Snapshot(), options);
  ASSERT_EQ(done.size(), 12u);
  EXPECT_EQ(done.back(), 12u);

  std::atomic<bool> cancel{true};
  options.Work.Cancel = &cancel;
  done.clear();
  CheckProject(editor->Snapshot(), options);
  EXPECT_TRUE(done.empty());
}

// Files that are not what they claim never hang or stop the check: each is a finding.
INSTANTIATE_TEST_SUITE_P(Hostile, CopyFindings,
                         ::testing::Values(CopyCase{"PipeInPlaceOfACopy",
                                                    [](Checked& t) {
                                                      fs::remove(t.Copy(2));
                                                      ASSERT_EQ(mkfifo(t.Copy(2).c_str(), 0600), 0);
                                                    },
                                                    With({"copy-undecodable @ clip 002, 002.mp3"})},
                                           CopyCase{"LinkToItself",
                                                    [](Checked& t) {
                                                      fs::remove(t.Copy(2));
                                                      fs::create_symlink(t.Copy(2), t.Copy(2));
                                                    },
                                                    With({"copy-missing @ clip 002, 002.mp3"})},
                                           CopyCase{"SourceIsAPipe",
                                                    [](Checked& t) {
                                                      fs::remove(t.map[1].second);
                                                      ASSERT_EQ(
                                                          mkfifo(t.map[1].second.c_str(), 0600), 0);
                                                    },
                                                    With({"source-missing @ clip 002, 002.mp3"})}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Checked, ACopyThatVanishesDuringTheCheckIsMissing) {
  CheckOptions options;
  options.Threads = 1;
  options.Work.Progress = [&](const ProgressStep& step) {
    if (step.Done == 1) fs::remove(Copy(2));
  };
  const auto found = CheckProject(editor->Snapshot(), options);
  EXPECT_EQ(found[1].Code, "copy-missing");
  EXPECT_EQ(found[1].Clip, 2);
}

// A name map without lines lists the clips from their copies, so no copy is stray and every
// input still names a clip.
TEST_F(Checked, AnEmptyNameMapListsTheClipsFromTheirCopies) {
  WriteFile(dir / "P/m3fn.txt", "");
  editor->OpenProjectFolder(dir / "P");
  EXPECT_EQ(Found(false), With({}));
  EXPECT_EQ(editor->Project().Library.Entry(2).Full_FN, Copy(2));
}

}  // namespace
}  // namespace pwx
