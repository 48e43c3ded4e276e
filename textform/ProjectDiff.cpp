#include "textform/ProjectDiff.h"

#include <algorithm>
#include <cstdio>

#include "audio/IntakeReport.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "textform/ProjectTextPlain.h"

namespace pwx {

namespace {

class Lines {
 public:
  explicit Lines(ProjectDiff& diff) : diff_(diff) {}
  void Add(const std::string& subject, const std::string& before, const std::string& after) {
    if (before == after) return;
    diff_.Lines.push_back({subject, before, after, subject + ": " + before + " -> " + after});
  }
  void Say(const std::string& subject, const std::string& what) {
    diff_.Lines.push_back({subject, {}, {}, subject + ": " + what});
  }

 private:
  ProjectDiff& diff_;
};

std::string ClipOrNone(const ProjectText& text, const TextSlot& slot, std::size_t k) {
  return k < slot.Clips.size() ? ClipWithName(text, slot.Clips[k]) : "none";
}

std::string HexRow(const PlayListImage& image, const UnnamedRow& row) {
  std::string hex;
  for (std::size_t i = row.Offset; i < row.Offset + row.Length; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02x", image.Bytes[i]);
    hex += pair;
  }
  return hex;
}

std::string LufsText(const std::optional<double>& lufs) {
  return lufs ? FormattedNumber("%.1f", *lufs) : "?";
}

std::string SecondsText(const std::optional<double>& seconds) {
  return seconds ? DurationText(*seconds) : "?";
}

void DiffClip(const TextClip& a, const TextClip& b, const ClipAudioComparer& audio,
              ProjectDiff& diff, Lines& lines) {
  const std::string subject = "clip " + ThreeDigits(a.Number) + " " + TerminalText(b.Name);
  lines.Add(subject + " source", TerminalText(a.Source), TerminalText(b.Source));
  if (a.Sha256.has_value() != b.Sha256.has_value()) {
    lines.Say(subject, std::string("copy only in ") + (a.Sha256 ? "A" : "B"));
    return;
  }
  if (!a.Sha256 || *a.Sha256 == *b.Sha256) return;
  std::optional<ClipAudioComparison> compared = audio ? audio(a.Number) : std::nullopt;
  if (!compared) {
    lines.Say(subject, "bytes differ");
    return;
  }
  if (!compared->Trouble.empty()) diff.Troubles.push_back(subject + ": " + compared->Trouble);
  switch (compared->What) {
    case ClipAudioComparison::Kind::SameAudio:
      lines.Say(subject, "tags only (the audio is the same)");
      return;
    case ClipAudioComparison::Kind::Unknown:
      lines.Say(subject, "bytes differ");
      return;
    case ClipAudioComparison::Kind::AudioDiffers:
      break;
  }
  const auto lufsA = a.Lufs ? a.Lufs : compared->LufsA;
  const auto lufsB = b.Lufs ? b.Lufs : compared->LufsB;
  const auto secondsA = a.Seconds ? a.Seconds : compared->SecondsA;
  const auto secondsB = b.Seconds ? b.Seconds : compared->SecondsB;
  lines.Say(subject, "audio differs (" + LufsText(lufsA) + " -> " + LufsText(lufsB) + " LUFS, " +
                         SecondsText(secondsA) + " -> " + SecondsText(secondsB) + ")");
}

}  // namespace

ProjectDiff DiffProjectTexts(const ProjectText& a, const ProjectText& b,
                             const ClipAudioComparer& audio) {
  ProjectDiff diff;
  Lines lines(diff);
  lines.Add("Device ID", TerminalText(a.Settings.DeviceId), TerminalText(b.Settings.DeviceId));
  lines.Add("Baud rate", TerminalText(a.Settings.BaudRate), TerminalText(b.Settings.BaudRate));
  lines.Add("Parity", TerminalText(a.Settings.Parity), TerminalText(b.Settings.Parity));
  lines.Add("Data bits", TerminalText(a.Settings.DataBits), TerminalText(b.Settings.DataBits));
  lines.Add("Stop bits", TerminalText(a.Settings.StopBits), TerminalText(b.Settings.StopBits));
  lines.Add("Volume", std::to_string(a.Volume), std::to_string(b.Volume));
  lines.Add("Mode", std::to_string(a.Mode), std::to_string(b.Mode));
  const auto mode = static_cast<std::uint8_t>(b.Mode);
  for (int s = 0; s < kSlotCount; ++s) {
    const auto at = static_cast<std::size_t>(s);
    const TextSlot& sa = a.Slots[at];
    const TextSlot& sb = b.Slots[at];
    const std::string label = SlotInputLabel(s, mode);
    for (std::size_t k = 0; k < kClipsPerSlot; ++k) {
      const bool sameClip = (k < sa.Clips.size()) == (k < sb.Clips.size()) &&
                            (k >= sa.Clips.size() || sa.Clips[k] == sb.Clips[k]);
      if (sameClip) continue;
      lines.Add(label + " #" + std::to_string(k + 1), ClipOrNone(a, sa, k), ClipOrNone(b, sb, k));
    }
    lines.Add(label + " repeat", std::to_string(sa.Repeat), std::to_string(sb.Repeat));
    lines.Add(label + " alarm output", sa.AlarmOutput ? "yes" : "no",
              sb.AlarmOutput ? "yes" : "no");
  }
  for (const UnnamedRow& row : UnnamedPlayListRows()) {
    lines.Add("play list bytes " + RowKey(row.Offset), HexRow(a.Image, row), HexRow(b.Image, row));
  }
  for (int number = 1; number <= kLibrarySize; ++number) {
    const TextClip* ca = FindClip(a, number);
    const TextClip* cb = FindClip(b, number);
    if (!ca && !cb) continue;
    if (!ca || !cb) {
      lines.Say("clip " + ThreeDigits(number), ca ? "only in A" : "only in B");
      continue;
    }
    DiffClip(*ca, *cb, audio, diff, lines);
  }
  for (const auto& item : a.Missing) {
    if (std::find(b.Missing.begin(), b.Missing.end(), item) == b.Missing.end()) {
      lines.Say(TerminalText(item), "missing in A only");
    }
  }
  for (const auto& item : b.Missing) {
    if (std::find(a.Missing.begin(), a.Missing.end(), item) == a.Missing.end()) {
      lines.Say(TerminalText(item), "missing in B only");
    }
  }
  return diff;
}

}  // namespace pwx
