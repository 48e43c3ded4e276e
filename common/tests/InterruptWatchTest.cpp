// Signals during long work: the first one only asks the work to stop; a second one ends the
// process at once, but not before the temporaries still being written are gone.
#include <gtest/gtest.h>
#include <signal.h>

#include "common/FileReplacement.h"
#include "common/InterruptWatch.h"
#include "common/OpenTemporaries.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

using testing::TempFolder;

class InterruptWatchTest : public ::testing::TestWithParam<int> {};

TEST_P(InterruptWatchTest, FirstSignalOnlySetsTheFlag) {
  const InterruptWatch watch;
  EXPECT_FALSE(watch.Cancel());
  EXPECT_EQ(watch.Signal(), 0);
  raise(GetParam());
  EXPECT_TRUE(watch.Cancel());
  EXPECT_EQ(watch.Signal(), GetParam());
}

TEST_P(InterruptWatchTest, SecondSignalRemovesTheOpenTemporariesAndEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child works in this test's folder
  const TempFolder dir;
  const int signal = GetParam();
  EXPECT_EXIT(
      {
        const InterruptWatch watch;
        FileReplacement copy(dir / "001.mp3");
        copy.Write("the first half of a clip");
        raise(signal);
        raise(signal);
        std::_Exit(0);  // not reached
      },
      ::testing::KilledBySignal(signal), "");
  EXPECT_EQ(dir.EntryCount(), 0u);  // neither the clip nor its temporary
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptWatchTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return SignalName(info.param).substr(3); });

TEST(OpenTemporariesTest, RemovesTheTemporariesOfOpenReplacementsOnly) {
  const TempFolder dir;
  FileReplacement done(dir / "vol.cfg");
  done.Write("5");
  done.Commit();
  {
    FileReplacement open(dir / "plist.cfg");
    open.Write("half");
    ASSERT_EQ(dir.EntryCount(), 2u);
    RemoveOpenTemporaries();
    EXPECT_EQ(dir.EntryCount(), 1u);
  }
  EXPECT_EQ(dir.Read("vol.cfg"), "5");
  RemoveOpenTemporaries();  // the committed one is no longer noted
  EXPECT_EQ(dir.Read("vol.cfg"), "5");
}

}  // namespace
}  // namespace pwx
