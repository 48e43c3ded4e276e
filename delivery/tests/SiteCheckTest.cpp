// The site file and the bus rules, as a table of site files checked against one template.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/tests/TempFolder.h"
#include "delivery/SiteCheck.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

std::string Rows(int count, const std::string& bus, int firstId) {
  std::string rows;
  for (int i = 0; i < count; ++i) {
    rows += "P" + bus + "-" + std::to_string(i) + ",Hall," + bus + "," +
            std::to_string(firstId + i) + ",5,tmpl,E\n";
  }
  return rows;
}

const std::string kHeader = "player,location,bus,device_id,volume,project,parity\n";

struct SiteCase {
  const char* Name;
  std::string Bytes;
  std::string Refusal;              // a text of the refusal, or empty when the file is read
  std::vector<std::string> Codes;   // the findings' codes, in order
  std::vector<std::string> Quoted;  // texts the findings' messages hold
};

std::vector<SiteCase> Cases() {
  return {
      {"ThreePlayersOneFraming", kHeader + Rows(3, "1", 1), "", {}, {}},
      {"DeviceIdTwiceNamesBothPlayersAndLines",
       kHeader + "Hall A / 1,Hall A,1,12,5,tmpl,E\nHall A / 2,Hall A,1,7,5,tmpl,E\n"
                 "Hall A / 3,Hall A,1,12,5,tmpl,E\n",
       "",
       {"device-id-twice"},
       {"Device ID 12 is used twice on bus 1", "'Hall A / 1' (line 2)", "'Hall A / 3' (line 4)"}},
      {"SameIdOnTwoBusesIsFine", kHeader + "A,x,1,12,5,tmpl,E\nB,x,2,12,5,tmpl,E\n", "", {}, {}},
      {"MixedFramingNamesWhichDiffer",
       "player,location,bus,device_id,volume,project,baud,parity,stop_bits\n"
       "A,x,1,1,5,tmpl,19200,E,1\nB,x,1,2,5,tmpl,9600,E,1\nC,x,1,3,5,tmpl,19200,O,1\n",
       "",
       {"bus-framing"},
       {"baud rate 19200 ('A' (line 2), 'C' (line 4)), 9600 ('B' (line 3))",
        "parity Even ('A' (line 2), 'B' (line 3)), Odd ('C' (line 4))"}},
      {"ThirtyOnePlayersFit", kHeader + Rows(31, "1", 1), "", {}, {}},
      {"ThirtyTwoPlayersAreTooMany",
       kHeader + Rows(32, "1", 1),
       "",
       {"bus-too-many"},
       {"32 unit loads, the master's among them"}},
      {"DeviceIdsOutOfRange",
       kHeader + "A,x,1,0,5,tmpl,E\nB,x,1,248,5,tmpl,E\nC,x,1,1e2,5,tmpl,E\nD,x,1,,5,tmpl,E\n",
       "",
       {"device-id-range", "device-id-range", "device-id-range", "device-id-range"},
       {"'0' of 'A' (line 2) is not a number from 1 to 247", "'248'", "'1e2'"}},
      {"NoParityOneStopBitWarns",
       "player,location,bus,device_id,volume,project,parity,stop_bits\n"
       "A,x,1,1,5,tmpl,N,1\nB,x,1,2,5,tmpl,N,1\nC,x,2,1,5,tmpl,N,2\n",
       "",
       {"no-parity-one-stop-bit"},
       {"Bus 1 runs without parity", "\"2 stop bits if no parity is used\""}},
      {"TemplateSettingsCountWhenCellsAreEmpty",
       "player,location,bus,device_id,volume,project\nA,x,1,1,,tmpl\n",
       "",
       {"no-parity-one-stop-bit"},
       {}},
      {"PlayerNamedTwice",
       kHeader + "A,x,1,1,5,tmpl,E\nA,y,2,2,5,tmpl,E\n",
       "",
       {"player-twice"},
       {"named on line 2 and again on line 3"}},
      {"TemplateMissing",
       kHeader + "A,x,1,1,5,nowhere,E\n",
       "",
       {"template-missing"},
       {"'nowhere'"}},
      {"SettingThatCannotBeTaken",
       kHeader + "A,x,1,1,11,tmpl,E\nB,x,1,2,5,tmpl,X\n",
       "",
       {"bad-setting", "bad-setting"},
       {"Volume 11 is not from 0 to 10", "parity"}},
      {"SemicolonsAndCodePage1252FromAGermanSpreadsheet",
       "Player;Location;Bus;Device ID;Volume;Project;Parity;Notes\r\n"
       "Flur S\xFC"
       "d;Geb\xE4ude 2, EG;1;3;7;tmpl;E;H\xF6he 1,5 m\r\n"
       "Flur S\xFC"
       "d;Geb\xE4ude 2, OG;1;3;7;tmpl;E;\r\n",
       "",
       {"player-twice", "device-id-twice"},
       {"'Flur S\xC3\xBC"
        "d' is named on line 2 and again on line 3"}},
      {"ByteOrderMarkAndColumnsInAnyOrder",
       "\xEF\xBB\xBF"
       "project,device_id,bus,player,volume,location,parity\r\n"
       "tmpl,1,1,A,5,x,E\r\ntmpl,1,1,B,5,x,E\r\n",
       "",
       {"device-id-twice"},
       {"'A' (line 2)", "'B' (line 3)"}},
      {"QuotedNamesWithCommasAndLineBreaks",
       kHeader + "\"Hall A, left \"\"north\"\"\",\"first\nsecond\nthird\",1,4,5,tmpl,E\n"
                 "\"Hall B\",x,1,4,5,tmpl,E\n",
       "",
       {"device-id-twice"},
       {"'Hall A, left \"north\"' (line 2)", "'Hall B' (line 5)"}},
      {"CellOfOneMegabyteIsRefused",
       kHeader + "A,\"" + std::string(1 << 20, 'x') + "\",1,1,5,tmpl,E\n",
       "Line 2 holds a field longer than 4096 bytes",
       {},
       {}},
      {"EmptyFileIsRefused", "", "The site file is empty", {}, {}},
      {"BlankLinesAloneAreRefused", "\r\n\r\n  \n", "The site file is empty", {}, {}},
      {"BinaryFileIsRefused",
       std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
       "is no text",
       {},
       {}},
      {"ProseIsRefused", "Dear integrator, here are the players.\n", "does not have", {}, {}},
      {"UnclosedQuoteIsRefused", kHeader + "A,\"x,1,1,5,tmpl,E\n", "Line 2 is not CSV", {}, {}},
      {"HeaderLackingAColumnIsRefused",
       "player,location,bus,volume,project\nA,x,1,5,tmpl\n",
       "lacks the column device_id",
       {},
       {}},
      {"RowWithMoreCellsThanTheHeaderIsRefused",
       kHeader + "A,x,1,1,5,tmpl,E,extra\n",
       "Line 2 has 8 cells, the header only 7",
       {},
       {}},
  };
}

class SiteCheckTest : public ::testing::TestWithParam<SiteCase> {
 protected:
  static void SetUpTestSuite() {
    dir = new testing::TempFolder;
    project = new testing::CardTestProject(dir->Path(), *dir / "tmpl");
  }
  static void TearDownTestSuite() {
    delete project;
    delete dir;
  }
  static testing::TempFolder* dir;
  static testing::CardTestProject* project;
};

testing::TempFolder* SiteCheckTest::dir = nullptr;
testing::CardTestProject* SiteCheckTest::project = nullptr;

TEST_P(SiteCheckTest, GivesItsFindingsOrARefusalAndWritesNothing) {
  const SiteCase& c = GetParam();
  dir->Write("site.csv", c.Bytes);
  const auto before = testing::FilesIn(*dir / "tmpl");
  const std::size_t entries = dir->EntryCount();
  std::string refusal;
  std::vector<SiteFinding> findings;
  try {
    SiteSetup setup = SetUpSite(ReadSiteFile(*dir / "site.csv"));
    findings = CheckSite(setup, {false, {}});
  } catch (const SiteFileError& error) {
    refusal = error.what();
  }
  EXPECT_EQ(testing::FilesIn(*dir / "tmpl"), before);
  EXPECT_EQ(dir->EntryCount(), entries);
  if (!c.Refusal.empty()) {
    EXPECT_NE(refusal.find(c.Refusal), std::string::npos) << refusal;
    return;
  }
  ASSERT_EQ(refusal, "");
  std::vector<std::string> codes;
  std::string messages;
  for (const SiteFinding& finding : findings) {
    codes.push_back(finding.Code);
    messages += finding.Message + "\n";
  }
  EXPECT_EQ(codes, c.Codes) << messages;
  for (const std::string& quoted : c.Quoted) {
    EXPECT_NE(messages.find(quoted), std::string::npos) << quoted << "\nnot in\n" << messages;
  }
}

INSTANTIATE_TEST_SUITE_P(SiteFiles, SiteCheckTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SiteFileTest, CellsReadAsWrittenAndWrittenBackTheSame) {
  const std::string bytes =
      "Player;Location;Bus;Device ID;Volume;Project;Notes\r\n"
      "\"Hall A; left\";\"two\r\nlines\";1;12;7;tmpl;\"say \"\"hi\"\"\"\r\n";
  const SiteFile site = ParseSiteFile(bytes);
  ASSERT_EQ(site.Players.size(), 1U);
  EXPECT_EQ(site.Separator, ';');
  EXPECT_EQ(site.Players[0].Name, "Hall A; left");
  EXPECT_EQ(site.Players[0].Location, "two\r\nlines");
  EXPECT_EQ(site.Players[0].Notes, "say \"hi\"");
  EXPECT_EQ(SitePlayerText(site.Players[0]), "'Hall A; left' (bus 1, Device ID 12)");
  EXPECT_EQ(SiteFileText(site), "player;location;bus;device_id;volume;project;notes\r\n" +
                                    bytes.substr(bytes.find("\r\n") + 2));
  EXPECT_EQ(ParseSiteFile(SiteFileText(site)).Players, site.Players);
}

TEST(SiteFileTest, CardFilesComeFromTheSiteCellsOverTheTemplate) {
  testing::TempFolder dir;
  testing::CardTestProject project(dir.Path(), dir / "tmpl");
  dir.Write("site.csv",
            "player,location,bus,device_id,volume,project,baud,parity,stop_bits\n"
            "A,x,1,12,7,tmpl,9600,E,2\nB,x,1,13,,tmpl,,,\n");
  const SiteSetup setup = SetUpSite(ReadSiteFile(dir / "site.csv"));
  const PlayerCardFiles a = CardFilesFor(setup.Players[0]);
  const PlayerCardFiles b = CardFilesFor(setup.Players[1]);
  EXPECT_EQ(a.Rtu, "12,9600,E,8,2");
  EXPECT_EQ(a.Volume, "7");
  EXPECT_EQ(b.Rtu, "13," + project.files.at("rtu.cfg").substr(2));
  EXPECT_EQ(b.Volume, project.files.at("vol.cfg"));
}

}  // namespace
}  // namespace pwx
