#include "textform/ProjectTextPlain.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "audio/IntakeReport.h"
#include "common/IntegerText.h"
#include "common/MessageText.h"
#include "common/TextFile.h"
#include "devicefiles/NameMapFile.h"
#include "devicefiles/RtuVolumeFiles.h"
#include "model/SlotLabels.h"

namespace pwx {

namespace {

std::string ClipLine(const TextClip& clip) {
  std::string line = "clip " + ThreeDigits(clip.Number) + " " + TerminalText(clip.Name) + ":";
  std::vector<std::string> facts;
  if (clip.Seconds) facts.push_back(DurationText(*clip.Seconds));
  if (!clip.Format.empty()) facts.push_back(clip.Format);
  if (clip.Lufs) facts.push_back(FormattedNumber("%.1f LUFS", *clip.Lufs));
  if (clip.Size) facts.push_back(GroupedDigits(*clip.Size) + " bytes");
  if (clip.Sha256) facts.push_back("sha256 " + *clip.Sha256);
  if (!clip.Size) facts.push_back("no copy");
  facts.push_back("source " + TerminalText(clip.Source));
  return line + " " + JoinedWithCommas(facts);
}

// Whether a file's name is that of a player file: the name itself, or a temporary copy of it
// that git names "XXXXXX_plist.cfg" for its text converter.
bool SameName(std::string_view name, std::string_view wanted) {
  if (name.size() < wanted.size()) return false;
  const std::string_view tail = name.substr(name.size() - wanted.size());
  const bool same =
      std::equal(tail.begin(), tail.end(), wanted.begin(), wanted.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
      });
  return same && (name.size() == wanted.size() || name[name.size() - wanted.size() - 1] == '_');
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string hex;
  for (std::size_t i = 0; i < count; ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    hex += (i == 0 ? "" : " ") + std::string(pair);
  }
  return hex;
}

std::string PlayListText(std::string_view bytes) {
  PlayListImage image;  // zeros where a short file ends
  LoadPlayListBytes(image, bytes);
  std::string text = "Length: " + std::to_string(bytes.size()) + " bytes" +
                     (bytes.size() == kPlayListSize ? "" : " (a play list has 512)") + "\n";
  text += "Signature: " + HexBytes(image.Bytes.data(), 4) +
          (HasPlayListSignature(image) ? "" : " (not a play list's)") + "\n";
  const std::uint8_t mode = image.Bytes[8];
  text += "Mode: " + std::to_string(mode) + "\n";
  for (int s = 0; s < kSlotCount; ++s) {
    std::string clips;
    for (int k = 0; k < kClipsPerSlot; ++k) {
      clips += (k == 0 ? "" : " ") + ThreeDigits(StoredClip(image, s, k));
    }
    const auto at = static_cast<std::size_t>(s);
    text += "slot " + std::to_string(s + 1) + " " + SlotInputLabel(s, mode) + ": clips " + clips +
            "; count " + std::to_string(image.Bytes[32 + at]) + "; repeat " +
            std::to_string(image.Bytes[96 + at]) + "; alarm output " +
            std::to_string(image.Bytes[160 + at]) + "\n";
  }
  for (const UnnamedRow& row : UnnamedPlayListRows()) {
    text += "bytes " + RowKey(row.Offset) + ": " + HexBytes(&image.Bytes[row.Offset], row.Length) +
            "\n";
  }
  return text;
}

std::string RtuText(std::string_view bytes) {
  const std::vector<std::string> lines = SplitLines(DecodeTextBytes(bytes), 1);
  const std::string line = lines.empty() ? "" : lines.front();
  ModbusRtuSettings settings;
  DiagnosticLog unwanted;
  ScanRtuLine(line, settings, unwanted);
  return "Line: " + TerminalText(line) + "\nDevice ID: " + TerminalText(settings.DeviceId) +
         "\nBaud rate: " + settings.BaudRate + "\nParity: " + settings.Parity +
         "\nData bits: " + settings.DataBits + "\nStop bits: " + settings.StopBits + "\n";
}

std::string VolumeText(std::string_view bytes) {
  const std::vector<std::string> lines = SplitLines(DecodeTextBytes(bytes), 1);
  const std::string line = lines.empty() ? "" : lines.front();
  std::string text = "Line: " + TerminalText(line) + "\nVolume: ";
  if (const auto value = TryParseInt32(line)) {
    text += std::to_string(AlarmProject::ClampVolume(*value));
  } else {
    text += "none (not a whole number)";
  }
  return text + "\n";
}

std::string NameMapText(std::string_view bytes) {
  AudioLibrary library;
  DiagnosticLog unwanted;
  const NameMapOmissions omissions = DecodeNameMap(bytes, library, unwanted);
  std::string text;
  for (int number = 1; number <= kLibrarySize; ++number) {
    const AudioEntry& entry = library.Entry(number);
    if (entry.Full_FN.empty()) continue;
    text += "clip " + ThreeDigits(number) + ": " + TerminalText(entry.Full_FN) + "\n";
  }
  if (omissions.Any()) text += TerminalText(OmissionsNotice(omissions)) + "\n";
  return text;
}

}  // namespace

std::string ClipWithName(const ProjectText& text, int number) {
  const TextClip* clip = FindClip(text, number);
  return ThreeDigits(number) + (clip ? " " + TerminalText(clip->Name) : "");
}

std::string SlotText(const ProjectText& text, int slot) {
  const TextSlot& values = text.Slots[static_cast<std::size_t>(slot)];
  std::string line;
  for (int number : values.Clips) line += (line.empty() ? "" : ", ") + ClipWithName(text, number);
  if (line.empty()) line = "no clip";
  line += "; repeat " + std::to_string(values.Repeat);
  if (values.AlarmOutput) line += "; alarm output";
  return line;
}

std::string PlainProjectText(const ProjectText& text) {
  const ModbusRtuSettings& settings = text.Settings;
  std::string plain = "Device ID: " + TerminalText(settings.DeviceId) + "\n";
  plain += "Baud rate: " + TerminalText(settings.BaudRate) + "\n";
  plain += "Parity: " + TerminalText(settings.Parity) + "\n";
  plain += "Data bits: " + TerminalText(settings.DataBits) + "\n";
  plain += "Stop bits: " + TerminalText(settings.StopBits) + "\n";
  plain += "Volume: " + std::to_string(text.Volume) + "\n";
  plain += "Mode: " + std::to_string(text.Mode) + "\n";
  const auto labels = InputLabelsOfMode(static_cast<std::uint8_t>(text.Mode));
  for (std::size_t s = 0; s < labels.size(); ++s) {
    plain += labels[s] + ": " + SlotText(text, static_cast<int>(s)) + "\n";
  }
  for (const TextClip& clip : text.Library) plain += ClipLine(clip) + "\n";
  if (!text.Missing.empty()) {
    std::vector<std::string> missing;
    for (const auto& item : text.Missing) missing.push_back(TerminalText(item));
    plain += "Missing: " + JoinedWithCommas(missing) + "\n";
  }
  return plain;
}

std::optional<std::string> PlayerFileText(std::string_view fileName, std::string_view bytes) {
  const auto slash = fileName.find_last_of("/\\");
  const std::string_view name =
      slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  if (SameName(name, kPlayListFileName)) return PlayListText(bytes);
  if (SameName(name, kRtuFileName)) return RtuText(bytes);
  if (SameName(name, kVolumeFileName)) return VolumeText(bytes);
  if (SameName(name, kNameMapFileName)) return NameMapText(bytes);
  return std::nullopt;
}

}  // namespace pwx
