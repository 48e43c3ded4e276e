// Any bytes as an m3fn.txt: decode them into a library, and check that what the library
// saves decodes to the same library and saves to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "devicefiles/NameMapFile.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  AudioLibrary library;
  DiagnosticLog log;
  DecodeNameMap(std::string_view(reinterpret_cast<const char*>(data), size), library, log);
  PWX_FUZZ_CHECK(log.Size() == 1 || log.Size() == 1 + kLibrarySize);
  for (int n = 1; n <= kLibrarySize; ++n) {
    const std::string& path = library.Entry(n).Full_FN;
    PWX_FUZZ_CHECK(path.find_first_of("\r\n") == std::string::npos);
  }

  const std::string saved = EncodeNameMap(library);
  AudioLibrary reloaded;
  DiagnosticLog reloadLog;
  DecodeNameMap(saved, reloaded, reloadLog);
  PWX_FUZZ_CHECK(reloaded == library);
  PWX_FUZZ_CHECK(EncodeNameMap(reloaded) == saved);
  return 0;
}
