// How long the window takes to rebuild the items of all 128 clip selectors with 64 clips
// and show the play list again, and to show the state after an ordinary edit.

#include <QComboBox>
#include <QTest>

#include "WindowTestSupport.h"

namespace pwx::apptest {

class ClipSelectorsBench : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    std::vector<int> clips;
    for (int clip = 1; clip <= 64; ++clip) clips.push_back(clip);
    // Every slot uses four clips, so showing the play list selects in every selector built
    // (mode 5 shows slots 0 to 14).
    PlayListBytes playList;
    playList.Mode(5);
    for (int slot = 0; slot < kSlotCount; ++slot) {
      playList.Slot(slot, {1 + slot, 64 - slot, 2 * slot + 1, 33}, 2, slot % 2 == 0);
    }
    t_ = std::make_unique<WindowUnderTest>();
    t_->WriteProject(clips, playList);
    t_->Open();
    QCOMPARE(t_->Find<QComboBox>("ComboBox60")->count(), 65);
  }
  void cleanup() { t_.reset(); }

  void rebuildAllSelectorsAndShowPlayList() {
    TForm1& window = *t_->window;
    QBENCHMARK {
      window.RebuildClipSelectors();
      window.ShowState();
    }
    QCOMPARE(t_->Find<QComboBox>("ComboBox9")->currentText(), "001");
    QCOMPARE(t_->Find<QComboBox>("ComboBox60")->currentText(), "033");
  }

  // The same on screen, with the repaint it causes.
  void rebuildAllSelectorsShowPlayListAndPaint() {
    TForm1& window = *t_->window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QBENCHMARK {
      window.RebuildClipSelectors();
      window.ShowState();
      QCoreApplication::processEvents();
    }
  }

  void showStateAfterAnEdit() {
    TForm1& window = *t_->window;
    QBENCHMARK {
      window.ShowState();
    }
  }

 private:
  std::unique_ptr<WindowUnderTest> t_;
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::ClipSelectorsBench)
#include "ClipSelectorsBench.moc"
