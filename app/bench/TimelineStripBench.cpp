// How long the timeline strip takes to draw a busy input's sequence (four clips repeated
// eight times, 32 blocks) at the window's width, with the cursor moving as during a test;
// the strip is redrawn at each step of the cursor, so this must stay far below a frame.

#include <QImage>
#include <QTest>

#include "app/TimelineStrip.h"

namespace pwx {

class TimelineStripBench : public QObject {
  Q_OBJECT

 private slots:
  void drawWithAMovingCursor() {
    InputSequence sequence;
    sequence.Input = "DI1";
    sequence.Clips = {1, 2, 3, 4};
    sequence.Repeat = 8;
    double at = 0;
    for (int pass = 1; pass <= sequence.Repeat; ++pass) {
      for (int clip : sequence.Clips) {
        SequenceSegment segment;
        segment.Clip = clip;
        segment.Name = "Evacuate the building now " + std::to_string(clip);
        segment.Pass = pass;
        segment.Start = at;
        segment.SoundStart = at + 0.3;
        at += 4.5 + clip;
        segment.End = at;
        segment.SoundEnd = at - 0.4;
        sequence.Segments.push_back(segment);
      }
    }
    sequence.FirstSound = 0.3;
    sequence.Total = at;

    TimelineStrip strip;
    strip.resize(900, 22);
    strip.SetSequence(sequence);
    QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);
    double cursor = 0;
    QBENCHMARK {
      strip.SetCursor(cursor);
      cursor = cursor + 0.25 > at ? 0 : cursor + 0.25;
      strip.render(&image);
    }
    QVERIFY(!strip.Summary().isEmpty());
  }
};

}  // namespace pwx

QTEST_MAIN(pwx::TimelineStripBench)
#include "TimelineStripBench.moc"
