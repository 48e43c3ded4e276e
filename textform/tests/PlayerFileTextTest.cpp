#include <gtest/gtest.h>

#include <string>

#include "devicefiles/tests/ProjectFileBytes.h"
#include "textform/ProjectTextPlain.h"

namespace pwx {
namespace {

TEST(PlayerFileText, playListShowsEverySlotAndItsUnnamedBytes) {
  const auto text = PlayerFileText(
      "/tmp/Xa1b2c_plist.cfg", testing::PlayListBytes().Saved().Slot(1, {3, 5}, 2, true).Bytes());
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("Mode: 0\n"), std::string::npos);
  EXPECT_NE(text->find("slot 2 DI2: clips 003 005 000 000; count 2; repeat 2; alarm output 1\n"),
            std::string::npos)
      << *text;
  EXPECT_NE(text->find("slot 32 spare: clips 000 000 000 000; count 1; repeat 1; alarm output 0\n"),
            std::string::npos);
  EXPECT_NE(text->find("bytes 0004: 00 00 00 00\n"), std::string::npos);
}

TEST(PlayerFileText, settingsFilesAndNameMapByValue) {
  EXPECT_EQ(*PlayerFileText("RTU.CFG", "12,9600,E,8,2"),
            "Line: 12,9600,E,8,2\nDevice ID: 12\nBaud rate: 9600\nParity: Even\nData bits: 8\n"
            "Stop bits: 2\n");
  EXPECT_EQ(*PlayerFileText("vol.cfg", "15"), "Line: 15\nVolume: 10\n");
  EXPECT_EQ(*PlayerFileText("m3fn.txt", testing::NameMapBytes({{3, "C:\\a\\Gas leak.mp3"}})),
            "clip 003: C:\\a\\Gas leak.mp3\n");
  EXPECT_FALSE(PlayerFileText("notes.txt", "x"));
  EXPECT_FALSE(PlayerFileText("myplist.cfg", "x"));
}

TEST(PlainProjectText, oneLinePerSettingInputAndClip) {
  ProjectText text;
  text.Library = {
      TextClip{3, "Gas leak", "/s/g.mp3", 1000, {}, 5.2, "MPEG-1 Layer III, 44100 Hz, mono", {}}};
  text.Slots[0] = TextSlot{{3}, 2, true};
  EXPECT_EQ(PlainProjectText(text),
            "Device ID: 1\nBaud rate: 115200\nParity: None\nData bits: 8\nStop bits: 1\n"
            "Volume: 5\nMode: 0\nDI1: 003 Gas leak; repeat 2; alarm output\n"
            "DI2: no clip; repeat 1\nDI3: no clip; repeat 1\nDI4: no clip; repeat 1\n"
            "clip 003 Gas leak: 0:05.2, MPEG-1 Layer III, 44100 Hz, mono, 1,000 bytes, source "
            "/s/g.mp3\n");
}

}  // namespace
}  // namespace pwx
