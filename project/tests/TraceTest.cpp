// The diagnostic trace of each flow, compared whole with its golden file: the start-up, an
// import, a removal, a save and a Load Project. Nothing in the program reads the trace; these
// tests keep its lines and their order as they are.
#include "audio/tests/Mp3Bytes.h"
#include "project/tests/EditorFixture.h"
#include "project/tests/GoldenTrace.h"

namespace pwx {
namespace {

using testing::NameMapBytes;
using testing::PlayListBytes;
using testing::WriteFile;

class Trace : public testing::EditorTest {
 protected:
  // A project in mode 5 with clips 1 and 3 in two slots, its volume and RTU settings.
  void SetUp() override {
    std::filesystem::create_directories(start / "Hall");
    WriteFile(start / "Hall/m3fn.txt",
              NameMapBytes({{1, "/sounds/Fire alarm.mp3"}, {3, "/sounds/Gas leak.mp3"}}));
    WriteFile(start / "Hall/plist.cfg",
              PlayListBytes().Mode(5).Saved().Slot(0, {1, 3}, 3, true).Slot(2, {3}, 2).Bytes());
    WriteFile(start / "Hall/vol.cfg", "7");
    WriteFile(start / "Hall/rtu.cfg", "12,9600,E,8,2");
    StartWithProject("Hall");
    from_ = editor->Log().Size();
  }
  // What the flow since the start-up added to the trace.
  std::vector<std::string> FlowTrace() const {
    const auto& lines = editor->Log().Lines();
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from_),
                                    lines.end());
  }

  std::size_t from_ = 0;
};

TEST_F(Trace, StartUp) {
  testing::ExpectGoldenTrace("startup", editor->Log().Lines(), start.Path());
}

TEST_F(Trace, Import) {
  std::filesystem::create_directories(start / "src");
  WriteFile(start / "src/Door open.mp3", testing::Mp3Bytes("door"));
  editor->StringGrid1Click(5, 1);
  host.fileAnswers.push_back(start / "src/Door open.mp3");
  editor->StringGrid1DblClick();
  testing::ExpectGoldenTrace("import", FlowTrace(), start.Path());
}

TEST_F(Trace, Removal) {
  editor->StringGrid1Click(3, 1);
  editor->SpeedButton6Click();
  testing::ExpectGoldenTrace("removal", FlowTrace(), start.Path());
}

TEST_F(Trace, Save) {
  editor->SetRepeat(1, "");  // not a number: logged, stored as 1
  editor->SpeedButton9Click();
  testing::ExpectGoldenTrace("save", FlowTrace(), start.Path());
}

TEST_F(Trace, LoadProject) {
  std::filesystem::create_directories(start / "Annex");
  WriteFile(start / "Annex/m3fn.txt", NameMapBytes({{2, "/sounds/All clear.mp3"}}));
  WriteFile(start / "Annex/plist.cfg", PlayListBytes().Saved().Slot(1, {2}).Bytes());
  WriteFile(start / "Annex/vol.cfg", "4");
  WriteFile(start / "Annex/rtu.cfg", "5,300,O,8,1");
  host.folderAnswers.push_back(start / "Annex");
  editor->SpeedButton7Click();
  testing::ExpectGoldenTrace("load", FlowTrace(), start.Path());
}

}  // namespace
}  // namespace pwx
