// The report's strip of an input: a cell per part of each clip, as wide as its share of the
// sequence, its silences lighter than its sound.
#include <gtest/gtest.h>

#include <regex>

#include "delivery/ReportTesting.h"

namespace pwx {
namespace {

SequenceSegment Segment(int clip, int pass, double start, double end, double soundStart,
                        double soundEnd) {
  SequenceSegment s;
  s.Clip = clip;
  s.Pass = pass;
  s.Start = start;
  s.End = end;
  s.SoundStart = soundStart;
  s.SoundEnd = soundEnd;
  s.Silent = soundStart >= soundEnd;
  return s;
}

// The strip's cells, as "width colour label".
std::vector<std::string> Cells(const std::vector<SequenceSegment>& segments, double total) {
  ReportTesting testing;
  InputSequence sequence;
  sequence.Input = "DI1";
  sequence.Segments = segments;
  sequence.Total = total;
  sequence.FirstSound = 0;
  testing.Sequences = {sequence};
  const std::string html = TimelinesHtml(testing);
  const std::regex cell("<td width=\"(\\d+)%\" bgcolor=\"(#[0-9a-f]+)\"><small>(.*?)</small>");
  std::vector<std::string> cells;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), cell); it != std::sregex_iterator();
       ++it) {
    cells.push_back((*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str());
  }
  return cells;
}

TEST(ReportStrip, ShowsEachClipsSilencesBesideItsSound) {
  EXPECT_EQ(Cells({Segment(1, 1, 0, 10, 1, 7), Segment(2, 2, 10, 20, 10, 20)}, 20),
            (std::vector<std::string>{"5 #e3ebf8 &nbsp;", "30 #b8cdee 001<br>0.0 s",
                                      "15 #e3ebf8 &nbsp;", "50 #b8e2d2 002<br>10.0 s"}));
  // A silence under a hundredth of the strip stays in the sound's cell; a silent clip is one
  // grey cell.
  EXPECT_EQ(Cells({Segment(3, 1, 0, 99, 0.5, 99), Segment(4, 1, 99, 100, 100, 100)}, 100),
            (std::vector<std::string>{"99 #b8cdee 003<br>0.0 s", "1 #dddddd &nbsp;"}));
}

TEST(ReportStrip, LabelsEachClipInItsWidestCellAsFarAsItFits) {
  // A short sound in a long silence: the label is in the silence; a narrow clip shows its
  // number alone.
  EXPECT_EQ(Cells({Segment(1, 1, 0, 95, 90, 91), Segment(2, 1, 95, 100, 95, 100)}, 100),
            (std::vector<std::string>{"90 #e3ebf8 001<br>0.0 s", "1 #b8cdee &nbsp;",
                                      "4 #e3ebf8 &nbsp;", "5 #b8cdee 002"}));
}

}  // namespace
}  // namespace pwx
