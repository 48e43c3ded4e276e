#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devicefiles/PlayListFile.h"
#include "model/AlarmProject.h"

namespace pwx {

// The version of the project's text form that this program writes and reads.
inline constexpr int kProjectTextVersion = 1;
inline constexpr const char* kProjectTextFormat = "pwx36-project";

// One slot as the player stores it: its clips in playing order (numbers 1..64), how often
// they play and whether the input switches the alarm output.
struct TextSlot {
  std::vector<int> Clips;
  int Repeat = 1;
  bool AlarmOutput = false;
  bool operator==(const TextSlot&) const = default;
};

// One clip of the library: its number, the name it is listed under, its source, and what is
// known of its copy in the project folder (nothing when the copy is missing or not looked at).
struct TextClip {
  int Number = 0;
  std::string Name;
  std::string Source;
  std::optional<std::uint64_t> Size;
  std::optional<std::string> Sha256;  // 64 lower-case hex digits
  std::optional<double> Seconds;
  std::string Format;  // "MPEG-1 Layer III, 44100 Hz, mono"
  std::optional<double> Lufs;
  bool operator==(const TextClip&) const = default;
};

// The whole project as its text form holds it: the settings as typed, the volume, the mode
// byte, the 32 slots as a save stores them, the play-list bytes that no field names (carried
// from the file loaded into the file saved), the library and what the folder lacks.
struct ProjectText {
  ModbusRtuSettings Settings;
  int Volume = kDefaultVolume;
  int Mode = 0;
  std::array<TextSlot, kSlotCount> Slots{};
  PlayListImage Image;            // only its unnamed bytes count; see UnnamedPlayListRows
  std::vector<TextClip> Library;  // ascending numbers
  std::vector<std::string> Missing;
  bool operator==(const ProjectText&) const = default;
};

// The input label of a slot in a mode: "DI1".."DI6" for slots 0..5 in modes 0 to 3,
// "bI<n> (...b)" otherwise, and "spare" for the last slot.
std::string SlotInputLabel(int slot, std::uint8_t mode);

// The text form of a record and the play-list image a save writes of it. The library holds
// each occupied entry's number, name and source; what is known of the copies is the caller's.
ProjectText ProjectTextOf(const AlarmProject& project, const PlayListImage& saved);

// The play-list image the text stands for: its unnamed bytes, the signature, the mode and
// the 32 slots.
PlayListImage PlayListOfText(const ProjectText& text);

// The library entry of a clip number, or nothing.
const TextClip* FindClip(const ProjectText& text, int number);

}  // namespace pwx
