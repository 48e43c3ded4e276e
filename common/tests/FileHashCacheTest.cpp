// Remembered hashes: kept across runs, never trusted for a file that may have changed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/FileHashCache.h"
#include "common/tests/TempFolder.h"

namespace pwx {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

constexpr std::int64_t kLater = 10'000'000'000;  // ten seconds, in nanoseconds

class RememberedHashes : public ::testing::Test {
 public:
  void SetUp() override {
    dir.Write("clip.mp3", "the bytes of a clip");
    path = dir / "clip.mp3";
  }
  FileStamp StampNow() const { return InputFile(path).Stamp(); }

  TempFolder dir;
  std::string path;
};

TEST_F(RememberedHashes, AreKeptAcrossRunsWithTheChangeTime) {
  const FileStamp stamp = StampNow();
  ASSERT_TRUE(stamp.KeepsChangeTime) << "the test folder's file system keeps no change time";
  {
    FileHashCache cache(dir / "store");
    cache.Remember(path, stamp, HashFile(path), stamp.ChangedNs + kLater);
    cache.Save();
  }
  const FileHashCache again(dir / "store");
  EXPECT_EQ(again.Find(path, stamp), HashFile(path));
  FileStamp moved = stamp;
  moved.ChangedNs += 1;
  EXPECT_FALSE(again.Find(path, moved));
}

// A run that only found what it knew leaves the store as it was: it is not written again.
TEST_F(RememberedHashes, AStoreWithNothingNewIsNotWrittenAgain) {
  const FileStamp stamp = StampNow();
  {
    FileHashCache cache(dir / "store");
    cache.Remember(path, stamp, HashFile(path), stamp.ChangedNs + kLater);
    cache.Save();
  }
  const FileStamp stored = InputFile(dir / "store").Stamp();
  FileHashCache again(dir / "store");
  ASSERT_TRUE(again.Find(path, stamp));
  again.Remember(path, stamp, HashFile(path), stamp.ChangedNs + kLater);  // as it was
  again.Save();
  EXPECT_EQ(InputFile(dir / "store").Stamp().Inode, stored.Inode);
  again.Forget(path);
  again.Save();
  EXPECT_FALSE(FileHashCache(dir / "store").Find(path, stamp));
}

// Rewritten to the same size with the modification time set back: only the change time
// tells, and it does.
TEST_F(RememberedHashes, AFileRewrittenWithItsTimeSetBackIsNotFound) {
  FileHashCache cache;
  const FileStamp stamp = StampNow();
  cache.Remember(path, stamp, HashFile(path), stamp.ChangedNs + kLater);
  const auto time = fs::last_write_time(path);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // past the clock's coarse tick
  dir.Write("clip.mp3", "THE BYTES OF A CLIP");
  fs::last_write_time(path, time);
  const FileStamp after = StampNow();
  ASSERT_EQ(after.ModifiedNs, stamp.ModifiedNs);
  EXPECT_FALSE(cache.Find(path, after));
  const auto hashed = cache.Hash(path);
  EXPECT_FALSE(hashed.Remembered);
  EXPECT_EQ(hashed.Digest, HashFile(path));
}

TEST_F(RememberedHashes, AreNotKeptForFilesThatMayStillChangeUnseen) {
  FileHashCache cache;
  FileStamp stamp = StampNow();
  cache.Remember(path, stamp, HashFile(path), stamp.ChangedNs + 1'000'000'000);  // a second
  EXPECT_FALSE(cache.Find(path, stamp)) << "changed within the coarsest tick of a clock";
  stamp.KeepsChangeTime = false;  // a FAT card's file
  cache.Remember(path, stamp, HashFile(path), stamp.ChangedNs + kLater);
  EXPECT_FALSE(cache.Find(path, stamp));
  cache.Remember(path, StampNow(), HashFile(path), stamp.ChangedNs + kLater);
  cache.Forget(path);
  EXPECT_FALSE(cache.Find(path, StampNow()));
}

// A store of an earlier version (without change times), a damaged one or one that cannot be
// read is an empty cache: only speed is lost.
TEST_F(RememberedHashes, AStoreThatCannotBeUsedIsAnEmptyCache) {
  const FileStamp s = StampNow();
  const std::string digest(64, 'a');
  const std::string line = digest + " " + std::to_string(s.Size) + " " +
                           std::to_string(s.ModifiedNs) + " " + std::to_string(s.Inode) + " " +
                           std::to_string(s.Device) + " " + path + "\n";
  dir.Write("old", "pwx36-editor file hashes 1\n" + line);
  dir.Write("damaged", "pwx36-editor file hashes 2\n" + line);
  dir.MakeFolder("folder");
  for (const char* store : {"old", "damaged", "folder", "missing"}) {
    FileHashCache cache(dir / store);
    EXPECT_FALSE(cache.Find(path, s)) << store;
    EXPECT_EQ(cache.Hash(path).Digest, HashFile(path)) << store;
    EXPECT_NO_THROW(cache.Save()) << store;
  }
}

}  // namespace
}  // namespace pwx
