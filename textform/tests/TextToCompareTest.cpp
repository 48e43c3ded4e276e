#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textform/ProjectDiff.h"
#include "textform/TextToCompare.h"

namespace pwx {
namespace {

// A project as a folder's text form holds it: every copy with its facts.
ProjectText Folder() {
  ProjectText text;
  text.Library = {
      TextClip{3, "Gas leak", "/s/Gas leak.mp3", 100, std::string(64, 'a'), 5.2, "mp3", {}},
      TextClip{5, "All clear", "/s/All clear.mp3", 200, std::string(64, 'b'), 3.0, "mp3", {}}};
  text.Slots[1] = TextSlot{{3}, 2, false};
  text.Missing = {"rtu.cfg"};
  return text;
}

std::vector<std::string> Lines(const ProjectDiff& diff) {
  std::vector<std::string> lines;
  for (const auto& line : diff.Lines) lines.push_back(line.Text);
  return lines;
}

TEST(TextToCompare, aTextDiffersFromTheFolderOnlyWhereItSaysSomethingElse) {
  const std::string clip3 = R"({"number": 3, "name": "Gas leak", "source": "/s/Gas leak.mp3")";
  const std::string clip5 = R"({"number": 5, "name": "All clear", "source": "/s/All clear.mp3"})";
  struct Case {
    std::string json;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {R"({"version": 1})", {}},
      {R"({"version": 1, "settings": {"volume": 3}})", {"Volume: 3 -> 7"}},
      {R"({"version": 1, "library": [)" + clip3 + "}, " + clip5 + "]}", {}},
      {R"({"version": 1, "library": [)" + clip3 + R"(, "sha256": ")" + std::string(64, 'c') +
           "\"}, " + clip5 + "]}",
       {"clip 003 Gas leak: bytes differ"}},
      {R"({"version": 1, "library": [)" + clip3 + "}]}", {"clip 005: only in B"}},
      {R"({"version": 1, "missing": []})", {"rtu.cfg: missing in B only"}},
  };
  ProjectText folder = Folder();
  folder.Volume = 7;
  for (const Case& c : cases) {
    const ProjectText text = ReadTextToCompare(c.json, folder);
    EXPECT_EQ(Lines(DiffProjectTexts(text, folder)), c.lines) << c.json;
  }
}

}  // namespace
}  // namespace pwx
