#include "devicefiles/NameMapFile.h"

#include "common/FileSystem.h"
#include "common/TextFile.h"

namespace pwx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

std::string EncodeNameMap(const AudioLibrary& library) {
  std::string bytes(kUtf8Bom);
  for (int number = 1; number <= kLibrarySize; ++number) {
    bytes += library.Entry(number).Full_FN;
    bytes += kLineEnd;
  }
  return bytes;
}

void DecodeNameMap(std::string_view bytes, AudioLibrary& library, DiagnosticLog& log) {
  library.Clear();
  // The map is UTF-8 whether or not it starts with the mark; its bytes are taken as they are,
  // so a damaged file still gives back exactly the paths it holds.
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  // Only the first 64 lines are made; the rest are only counted for the log.
  const std::vector<std::string> lines = SplitLines(bytes, kLibrarySize);
  log.Append("list->Count: " + std::to_string(CountLines(bytes)));
  if (lines.empty()) return;

  // Line k is clip k. A short file leaves its missing numbers free; lines past 64 are ignored.
  for (int number = 1; number <= kLibrarySize; ++number) {
    AudioEntry& entry = library.Entry(number);
    const auto index = static_cast<std::size_t>(number - 1);
    if (index < lines.size()) {
      entry.Full_FN = lines[index];
      entry.Short_FN = ShortNameOf(entry.Full_FN);
    }
    log.Append("Short_FN: " + entry.Short_FN);
  }
}

void SaveNameMap(const AudioLibrary& library, const std::string& workDir, DiagnosticLog& log) {
  const std::string path = workDir + kNameMapFileName;
  ReplaceFile(path, EncodeNameMap(library));
  log.Append("M3FN fname: " + path);
}

void LoadNameMap(AudioLibrary& library, const std::string& workDir, DiagnosticLog& log) {
  library.Clear();
  const std::string path = workDir + kNameMapFileName;
  const std::string bytes = ReadFileBytes(path);
  DecodeNameMap(bytes, library, log);
  log.Append("m3fn_fname Len: " + std::to_string(FileSize(path)));
}

}  // namespace pwx
