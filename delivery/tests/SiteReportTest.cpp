// The bus plan and the register of addresses of a site.
#include <gtest/gtest.h>

#include <string>

#include "common/tests/TempFolder.h"
#include "delivery/SiteReport.h"
#include "delivery/tests/CardTestProject.h"

namespace pwx {
namespace {

TEST(SiteReport, BusesListTheirPlayersByDeviceIdWithTheirCardsFromTheLog) {
  testing::TempFolder dir;
  testing::CardTestProject project(dir.Path(), dir / "tmpl");
  dir.Write("site.csv",
            "player,location,bus,device_id,volume,project,parity,baud\n"
            "C,\"Hall <b>, east\",1,30,4,tmpl,E,9600\n"
            "A,west,2,2,5,tmpl,O,19200\n"
            "B,north,1,7,,tmpl,E,9600\n");
  const SiteSetup setup = SetUpSite(ReadSiteFile(dir / "site.csv"));
  const std::vector<SiteBus> buses = SiteBuses(setup);
  ASSERT_EQ(buses.size(), 2U);
  EXPECT_EQ(buses[0].Name, "1");
  EXPECT_EQ(buses[0].Players, (std::vector<std::size_t>{2, 0}));
  EXPECT_EQ(BusFramingText(setup, buses[0]), "9600 baud, Even parity, 8 data bits, 1 stop bit");

  EXPECT_EQ(SiteAddressCsv(setup),
            "bus,device_id,player,location,baud,parity,data_bits,stop_bits\r\n"
            "1,7,B,north,9600,E,8,1\r\n"
            "1,30,C,\"Hall <b>, east\",9600,E,8,1\r\n"
            "2,2,A,west,19200,O,8,1\r\n");

  const std::vector<SiteLogEntry> log = {
      {"B", "1", "7", "/media/card", "2026-12-11T10:00:00Z", true, true, "", ""},
      {"C", "1", "30", "/media/card", "2026-12-11T10:05:00Z", true, true, "", ""},
      {"C", "1", "30", "/media/card", "2026-12-11T10:09:00Z", false, false, "refused", ""}};
  const std::string html = SiteReportHtml(setup, CheckSite(setup, {false, {}}), log, {});
  EXPECT_NE(html.find("written and verified 2026-12-11T10:00:00Z"), std::string::npos);
  EXPECT_NE(html.find("not written (2026-12-11T10:09:00Z: refused)"), std::string::npos);
  EXPECT_NE(html.find("Hall &lt;b&gt;, east"), std::string::npos);
  EXPECT_LT(html.find(">B<"), html.find(">C<"));
}

}  // namespace
}  // namespace pwx
