// How a command shows its progress on standard error: in place on a terminal, a line a
// step elsewhere, nothing when quiet.
#include <gtest/gtest.h>

#include <sstream>

#include "commands/ProgressPrinter.h"

namespace pwx {
namespace {

using Mode = ProgressPrinter::Mode;

std::string Printed(Mode mode, const std::vector<ProgressStep>& steps) {
  std::ostringstream err;
  {
    ProgressPrinter printer(err, mode);
    const ProgressCallback callback = printer.Callback();
    for (const ProgressStep& step : steps) callback(step);
  }
  return err.str();
}

const std::vector<ProgressStep> kCopy{{0, 200, "Writing 001.mp3"},
                                      {50, 200, "Writing 001.mp3"},
                                      {100, 200, "Writing 002.mp3"},
                                      {150, 200, "Verifying 001.mp3"},
                                      {200, 200, "Verifying 002.mp3"}};

TEST(ProgressPrinter, ModeFollowsQuietFirstThenTheTerminal) {
  EXPECT_EQ(ProgressPrinter::ModeFor(true, true), Mode::Quiet);
  EXPECT_EQ(ProgressPrinter::ModeFor(true, false), Mode::Quiet);
  EXPECT_EQ(ProgressPrinter::ModeFor(false, true), Mode::InPlace);
  EXPECT_EQ(ProgressPrinter::ModeFor(false, false), Mode::Lines);
}

TEST(ProgressPrinter, QuietPrintsNothing) {
  EXPECT_EQ(Printed(Mode::Quiet, kCopy), "");
}

TEST(ProgressPrinter, LinesSayEachStepOnceWhenItStarts) {
  EXPECT_EQ(Printed(Mode::Lines, kCopy),
            "Writing 001.mp3\nWriting 002.mp3\nVerifying 001.mp3\nVerifying 002.mp3\n");
}

TEST(ProgressPrinter, InPlaceRewritesOneLineAndClearsItAtTheEnd) {
  const std::string printed =
      Printed(Mode::InPlace, {{1, 4, "Decoding the clips"}, {4, 4, "Saving"}});
  const std::string first = "Decoding the clips: 25%";
  EXPECT_EQ(printed, "\r" + first + "\rSaving: 100%" + std::string(first.size() - 12, ' ') + "\r" +
                         std::string(12, ' ') + "\r");
}

TEST(ProgressPrinter, PercentStaysRightForHugeCountsAndOverfullOnes) {
  const std::uint64_t huge = 18446744073709551615u;
  EXPECT_EQ(Printed(Mode::InPlace, {{huge / 2, huge, "a"}}).substr(0, 6), "\ra: 49");
  EXPECT_EQ(Printed(Mode::InPlace, {{7, 5, "a"}}).substr(0, 8), "\ra: 100%");
  // A step that cannot say how much is left shows its text alone.
  EXPECT_EQ(Printed(Mode::InPlace, {{3, 0, "Reading"}}).substr(0, 8), "\rReading");
  EXPECT_EQ(Printed(Mode::InPlace, {{3, 0, "Reading"}}).find('%'), std::string::npos);
}

TEST(ProgressPrinter, NamesFromAFolderNeverActOnTheTerminal) {
  EXPECT_EQ(Printed(Mode::Lines, {{0, 1, "Writing \x1b[2J.mp3"}}), "Writing \\x1b[2J.mp3\n");
  EXPECT_EQ(Printed(Mode::InPlace, {{0, 1, "Writing \r.mp3"}}).substr(0, 16), "\rWriting \\x0d.mp");
}

}  // namespace
}  // namespace pwx
