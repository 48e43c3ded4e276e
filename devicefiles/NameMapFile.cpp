#include "devicefiles/NameMapFile.h"

#include "common/FileReplacement.h"
#include "common/IntegerText.h"
#include "common/TextFile.h"

namespace pwx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Line k is clip k. A short file leaves its missing numbers free; lines past 64 are ignored.
std::vector<int> TakeLines(TextLines text, AudioLibrary& library, DiagnosticLog& log) {
  log.Append("list->Count: " + std::to_string(text.Count));
  if (text.Lines.empty()) return {};
  for (int number = 1; number <= kLibrarySize; ++number) {
    AudioEntry& entry = library.Entry(number);
    const auto index = static_cast<std::size_t>(number - 1);
    if (index < text.Lines.size()) {
      entry.Full_FN = std::move(text.Lines[index]);
      entry.Short_FN = ShortNameOf(entry.Full_FN);
    }
    log.Append("Short_FN: " + entry.Short_FN);
  }
  return std::vector<int>(text.CutLines.begin(), text.CutLines.end());
}

std::string NumberList(const std::vector<int>& numbers, bool asClips) {
  std::string list;
  for (int number : numbers) {
    if (!list.empty()) list += ", ";
    list += asClips ? ThreeDigits(number) : std::to_string(number);
  }
  return list;
}

}  // namespace

std::string EncodeNameMap(const AudioLibrary& library) {
  std::string bytes(kUtf8Bom);
  for (int number = 1; number <= kLibrarySize; ++number) {
    bytes += library.Entry(number).Full_FN;
    bytes += kLineEnd;
  }
  return bytes;
}

std::vector<int> DecodeNameMap(std::string_view bytes, AudioLibrary& library, DiagnosticLog& log,
                               std::size_t longestPath) {
  library.Clear();
  return TakeLines(TextLinesOf(bytes, kLibrarySize, longestPath), library, log);
}

void SaveNameMap(const AudioLibrary& library, const std::string& workDir, DiagnosticLog& log) {
  const std::string path = workDir + kNameMapFileName;
  ReplaceFile(path, EncodeNameMap(library));
  log.Append("M3FN fname: " + path);
}

std::vector<int> LoadNameMap(AudioLibrary& library, const std::string& workDir,
                             DiagnosticLog& log) {
  library.Clear();
  const std::string path = workDir + kNameMapFileName;
  TextLines text = ReadTextLines(path, kLibrarySize, kLongestPath);
  const std::uint64_t size = text.FileSize;
  std::vector<int> cut = TakeLines(std::move(text), library, log);
  log.Append("m3fn_fname Len: " + std::to_string(size));
  return cut;
}

std::string CutLinesNotice(const std::vector<int>& clips) {
  if (clips.empty()) return {};
  const bool one = clips.size() == 1;
  return std::string(kNameMapFileName) + (one ? ": line " : ": lines ") + NumberList(clips, false) +
         (one ? " is" : " are") + " longer than any path and " + (one ? "was" : "were") +
         " left out; " + (one ? "clip " : "clips ") + NumberList(clips, true) +
         (one ? " stays" : " stay") + " free";
}

}  // namespace pwx
