#include <gtest/gtest.h>

#include "common/PathText.h"

namespace pwx {
namespace {

TEST(FolderName, IsTheLastNameWithoutSeparators) {
  EXPECT_EQ(FolderName("/srv/sites/Hall A/"), "Hall A");
  EXPECT_EQ(FolderName("/srv/sites/Hall A"), "Hall A");
  EXPECT_EQ(FolderName("D:\\Alarms\\Hall 1\\"), "Hall 1");
  EXPECT_EQ(FolderName("//work/"), "work");
  EXPECT_EQ(FolderName("/"), "");
  EXPECT_EQ(FolderName(""), "");
}

struct ElideCase {
  const char* path;
  std::size_t room;  // characters that fit
  const char* shown;
};

class ElidedPath : public ::testing::TestWithParam<ElideCase> {};

TEST_P(ElidedPath, KeepsTheHeadAndTheLastNamesThatFit) {
  const ElideCase& c = GetParam();
  // The ellipsis counts as one character.
  const auto fits = [&c](const std::string& text) {
    std::size_t characters = 0;
    for (unsigned char byte : text) characters += (byte & 0xC0) != 0x80;
    return characters <= c.room;
  };
  EXPECT_EQ(ElidePath(c.path, fits), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ElidedPath,
    ::testing::Values(ElideCase{"/srv/Hall A/", 40, "/srv/Hall A/"},
                      ElideCase{"/srv/projects/2024/site/Hall A/", 20, "/srv/\u2026/site/Hall A/"},
                      ElideCase{"/srv/projects/2024/site/Hall A/", 15, "/srv/\u2026/Hall A/"},
                      ElideCase{"/srv/projects/2024/site/Hall A/", 10, "\u2026/Hall A/"},
                      ElideCase{"/srv/projects/2024/site/Hall A/", 3, "\u2026/Hall A/"},
                      ElideCase{"C:\\Alarms\\2024\\Hall 1\\", 14, "C:\\\u2026\\Hall 1\\"},
                      ElideCase{"relative/deep/folder/name", 16, "relative/\u2026/name"}));

}  // namespace
}  // namespace pwx
