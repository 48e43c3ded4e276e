#include "textform/TextToCompare.h"

#include "textform/ProjectTextJson.h"

namespace pwx {

namespace {

template <class Value>
void TakeIfUnsaid(std::optional<Value>& value, const std::optional<Value>& other) {
  if (!value) value = other;
}

}  // namespace

ProjectText ReadTextToCompare(std::string_view json, const ProjectText& other) {
  ProjectText text = ReadProjectText(json, other);
  for (TextClip& clip : text.Library) {
    const TextClip* known = FindClip(other, clip.Number);
    if (!known) continue;
    TakeIfUnsaid(clip.Size, known->Size);
    TakeIfUnsaid(clip.Sha256, known->Sha256);
    TakeIfUnsaid(clip.Seconds, known->Seconds);
    TakeIfUnsaid(clip.Lufs, known->Lufs);
    if (clip.Format.empty()) clip.Format = known->Format;
  }
  return text;
}

}  // namespace pwx
