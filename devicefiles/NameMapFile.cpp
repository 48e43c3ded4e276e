#include "devicefiles/NameMapFile.h"

#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "common/FileSystem.h"
#include "common/IntegerText.h"
#include "common/TextFile.h"

namespace pwx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

constexpr LineBounds kNameMapBounds{kLibrarySize, kLongestPath, kNameMapReadLimit};

// Line k is clip k. A short file leaves its missing numbers free; lines past 64 are ignored.
NameMapOmissions TakeLines(TextLines text, AudioLibrary& library, DiagnosticLog& log) {
  log.Append("list->Count: " + std::to_string(text.Count));
  NameMapOmissions omissions;
  omissions.CutClips.assign(text.CutLines.begin(), text.CutLines.end());
  if (text.Truncated && text.Count < static_cast<std::size_t>(kLibrarySize)) {
    omissions.FirstUnreadClip = static_cast<int>(text.Count) + 1;
  }
  if (text.Lines.empty()) return omissions;
  for (int number = 1; number <= kLibrarySize; ++number) {
    AudioEntry& entry = library.Entry(number);
    const auto index = static_cast<std::size_t>(number - 1);
    if (index < text.Lines.size()) {
      entry.Full_FN = std::move(text.Lines[index]);
      entry.Short_FN = ShortNameOf(entry.Full_FN);
    }
    log.Append("Short_FN: " + entry.Short_FN);
  }
  return omissions;
}

std::string NumberList(const std::vector<int>& numbers, bool asClips) {
  std::string list;
  for (int number : numbers) {
    if (!list.empty()) list += ", ";
    list += asClips ? ThreeDigits(number) : std::to_string(number);
  }
  return list;
}

std::string CutLinesText(const std::vector<int>& clips) {
  const bool one = clips.size() == 1;
  return std::string(one ? "line " : "lines ") + NumberList(clips, false) + (one ? " is" : " are") +
         " longer than any path and " + (one ? "was" : "were") + " left out; " +
         (one ? "clip " : "clips ") + NumberList(clips, true) + (one ? " stays" : " stay") +
         " free";
}

std::string UnreadText(int firstClip) {
  const std::string clips = firstClip == kLibrarySize ? "clip " + ThreeDigits(firstClip) + " stays"
                                                      : "clips " + ThreeDigits(firstClip) + " to " +
                                                            ThreeDigits(kLibrarySize) + " stay";
  return "the file is larger than any name map and was read up to line " +
         std::to_string(firstClip - 1) + "; " + clips + " free";
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

NameMapOmissions DecodeNameMap(std::string_view bytes, AudioLibrary& library, DiagnosticLog& log) {
  library.Clear();
  return TakeLines(TextLinesOf(bytes, kNameMapBounds), library, log);
}

void SaveNameMap(const AudioLibrary& library, const std::string& workDir, DiagnosticLog& log) {
  const std::string path = workDir + kNameMapFileName;
  ReplaceFile(path, EncodeNameMap(library));
  log.Append("M3FN fname: " + path);
}

NameMapOmissions LoadNameMap(AudioLibrary& library, const std::string& workDir, DiagnosticLog& log,
                             std::size_t* lineCount) {
  library.Clear();
  const std::string path = workDir + kNameMapFileName;
  TextLines text = ReadTextLines(path, kNameMapBounds);
  const std::uint64_t size = text.FileSize;
  if (lineCount) *lineCount = text.Count;
  NameMapOmissions omissions = TakeLines(std::move(text), library, log);
  log.Append("m3fn_fname Len: " + std::to_string(size));
  return omissions;
}

std::optional<AudioLibrary> NameMapOnDisk(const std::string& workDir) {
  if (!FileExists(workDir + kNameMapFileName)) return std::nullopt;
  AudioLibrary library;
  DiagnosticLog unwanted;
  try {
    LoadNameMap(library, workDir, unwanted);
  } catch (const EditorError&) {
    return std::nullopt;  // what cannot be read holds no change of anyone's
  }
  return library;
}

std::vector<int> TakeOtherProgramsLines(AudioLibrary& library, const AudioLibrary& known,
                                        const AudioLibrary& onDisk, int own) {
  std::vector<int> taken;
  for (int number = 1; number <= kLibrarySize; ++number) {
    if (number == own || onDisk.Entry(number).Full_FN == known.Entry(number).Full_FN) continue;
    if (library.Entry(number) != onDisk.Entry(number)) {
      library.Entry(number) = onDisk.Entry(number);
      taken.push_back(number);
    }
  }
  return taken;
}

std::string OtherProgramsNotice(const std::vector<int>& clips) {
  if (clips.empty()) return {};
  const bool one = clips.size() == 1;
  return std::string(one ? "Clip " : "Clips ") + NumberList(clips, true) +
         (one ? " was" : " were") + " changed by another program and " + (one ? "is" : "are") +
         " shown as " + kNameMapFileName + " now holds " + (one ? "it" : "them");
}

std::string OmissionsNotice(const NameMapOmissions& omissions) {
  std::string notice;
  if (!omissions.CutClips.empty()) notice = CutLinesText(omissions.CutClips);
  if (omissions.FirstUnreadClip != 0) {
    notice += (notice.empty() ? "" : "; ") + UnreadText(omissions.FirstUnreadClip);
  }
  return notice.empty() ? notice : std::string(kNameMapFileName) + ": " + notice;
}

}  // namespace pwx
