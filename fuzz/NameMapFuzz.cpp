// Any bytes as an m3fn.txt: decode them into a library, and check that what the library
// saves decodes to the same library and saves to the same bytes. Then read the same bytes
// in pieces of every size and with a short bound on the line length, as a file is read from
// the disk, and check that the pieces give exactly what one read gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/TextFile.h"
#include "devicefiles/NameMapFile.h"
#include "fuzz/FuzzCheck.h"

namespace {

void CheckWholeMap(std::string_view bytes) {
  using namespace pwx;
  AudioLibrary library;
  DiagnosticLog log;
  const NameMapOmissions omissions = DecodeNameMap(bytes, library, log);
  PWX_FUZZ_CHECK(log.Size() == 1 || log.Size() == 1 + kLibrarySize);
  for (int n = 1; n <= kLibrarySize; ++n) {
    const std::string& path = library.Entry(n).Full_FN;
    PWX_FUZZ_CHECK(path.find_first_of("\r\n") == std::string::npos);
    PWX_FUZZ_CHECK(path.size() <= kLongestPath);
  }
  for (int number : omissions.CutClips) PWX_FUZZ_CHECK(library.Entry(number) == AudioEntry{});

  const std::string saved = EncodeNameMap(library);
  AudioLibrary reloaded;
  DiagnosticLog reloadLog;
  PWX_FUZZ_CHECK(!DecodeNameMap(saved, reloaded, reloadLog).Any());
  PWX_FUZZ_CHECK(reloaded == library);
  PWX_FUZZ_CHECK(EncodeNameMap(reloaded) == saved);
}

void CheckPieces(std::size_t piece, std::size_t longest, std::string_view bytes) {
  using namespace pwx;
  const TextLines whole = TextLinesOf(bytes, {kLibrarySize, longest});
  TextDecoder decoder;
  LineSplitter splitter(kLibrarySize, longest);
  std::string text;
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    text.clear();
    decoder.Feed(bytes.substr(at, piece), text);
    splitter.Feed(text);
  }
  text.clear();
  decoder.Finish(text);
  splitter.Feed(text);
  splitter.Finish();
  PWX_FUZZ_CHECK(splitter.Lines() == whole.Lines);
  PWX_FUZZ_CHECK(splitter.CutLines() == whole.CutLines);
  PWX_FUZZ_CHECK(splitter.Count() == whole.Count);
  for (const std::string& line : whole.Lines) PWX_FUZZ_CHECK(line.size() <= longest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckWholeMap(bytes);
  if (size >= 2) CheckPieces(1 + data[0] % 17, 1 + data[1] % 40, bytes.substr(2));
  return 0;
}
