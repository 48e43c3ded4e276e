// Any bytes as an rtu.cfg: its first line is scanned into start-up settings; the result
// must hold only offered choices, and writing it and scanning again must give it back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/TextFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "fuzz/FuzzCheck.h"
#include "model/Choices.h"

namespace {

bool Offered(const std::vector<std::string>& choices, const std::string& text) {
  return std::find(choices.begin(), choices.end(), text) != choices.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  // The first line, as the start-up reads it; a file without lines is refused there.
  const auto lines =
      SplitLines(DecodeTextBytes(std::string_view(reinterpret_cast<const char*>(data), size)));
  if (lines.empty()) return 0;
  const std::string& line = lines.front();

  ModbusRtuSettings settings;
  DiagnosticLog log;
  ScanRtuLine(line, settings, log);
  PWX_FUZZ_CHECK(log.Size() ==
                 static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1);
  PWX_FUZZ_CHECK(settings.DeviceId.find(',') == std::string::npos);
  PWX_FUZZ_CHECK(Offered(kBaudRateChoices, settings.BaudRate));
  PWX_FUZZ_CHECK(Offered(kParityChoices, settings.Parity));
  PWX_FUZZ_CHECK(Offered(kDataBitsChoices, settings.DataBits));
  PWX_FUZZ_CHECK(Offered(kStopBitsChoices, settings.StopBits));

  DiagnosticLog buildLog;
  const auto built = BuildRtuLine(settings, buildLog);
  if (!built) {
    PWX_FUZZ_CHECK(RtuLineLength(settings) > kMaxRtuLineLength && buildLog.Size() == 0);
    return 0;
  }
  PWX_FUZZ_CHECK(built->size() == RtuLineLength(settings) && built->size() <= kMaxRtuLineLength);
  ModbusRtuSettings reread;
  ScanRtuLine(*built, reread, buildLog);
  PWX_FUZZ_CHECK(reread == settings);
  return 0;
}
