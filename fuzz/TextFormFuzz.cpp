// Any bytes as a project's text form: reading either refuses them with a TextFormError or
// gives a text form that writes and reads back to itself. The same bytes as a plist.cfg: its
// text form gives back the 512 bytes a save of it writes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/IntegerText.h"
#include "fuzz/FuzzCheck.h"
#include "model/Choices.h"
#include "textform/ProjectTextJson.h"

namespace {

pwx::AlarmProject RecordWithClips() {
  pwx::AlarmProject project;
  for (int n = 1; n <= 40; ++n)
    project.Library.Entry(n) = {"/s/" + pwx::ThreeDigits(n) + ".mp3", pwx::ThreeDigits(n)};
  return project;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pwx;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const ProjectText read = ReadProjectText(bytes, ProjectText{});
    const ProjectText again = ReadProjectText(ProjectTextJson(read), ProjectText{});
    PWX_FUZZ_CHECK(again == read);
  } catch (const TextFormError&) {
    // Refused, with its message: nothing else may escape.
  }

  static const AlarmProject library = RecordWithClips();
  AlarmProject project = library;
  PlayListImage loaded;
  ResetPlayListImage(loaded);
  LoadPlayListBytes(loaded, bytes);
  DiagnosticLog log;
  ApplyPlayList(loaded, project, BuildClipChoices(project.Library), log);
  const PlayListImage saved = PlayListASaveWrites(loaded, project, log);
  const ProjectText text = ProjectTextOf(project, saved);
  PWX_FUZZ_CHECK(PlayListOfText(ReadProjectText(ProjectTextJson(text), ProjectText{})) == saved);
  return 0;
}
