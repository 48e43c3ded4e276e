#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/AudioLibrary.h"

namespace pwx {

inline constexpr int kSlotCount = 32;    // slot rows the window edits (0..31)
inline constexpr int kClipsPerSlot = 4;  // clip choices "#1" to "#4" of a slot
inline constexpr int kMinVolume = 0;
inline constexpr int kMaxVolume = 10;
inline constexpr int kDefaultVolume = 5;
inline constexpr const char* kNoClip = "None";

// The player's Modbus RTU slave settings, each the text as typed or chosen.
struct ModbusRtuSettings {
  std::string DeviceId = "1";
  std::string BaudRate = "115200";
  std::string Parity = "None";
  std::string DataBits = "8";
  std::string StopBits = "1";

  bool operator==(const ModbusRtuSettings&) const = default;
};

// The alarm mode: the text the Mode selector shows, and the byte the player receives
// (the low 8 bits of the integer the text denotes).
struct AlarmMode {
  std::string Text = "0";
  std::uint8_t Value = 0;

  bool IsBinaryFamily() const { return Value >= 4; }
  bool operator==(const AlarmMode&) const = default;
};

// One trigger-input slot: up to four clips played in order, a repeat count as typed, and
// whether the input also switches the alarm output. A clip is "None", a "%03d" clip number
// among the selectors' choices, or empty text when the stored number is not offered.
struct AlarmSlot {
  std::array<std::string, kClipsPerSlot> Clips{kNoClip, kNoClip, kNoClip, kNoClip};
  std::string Repeat = "1";
  bool AlarmOutput = false;

  bool operator==(const AlarmSlot&) const = default;
};

// Everything the editor sets up for one player.
struct AlarmProject {
  ModbusRtuSettings Settings;
  int Volume = kDefaultVolume;
  AudioLibrary Library;
  AlarmMode Mode;
  std::array<AlarmSlot, kSlotCount> Slots;

  // The track bar's rule: values outside 0..10 stick to the nearer end.
  void SetVolume(int value) { Volume = ClampVolume(value); }
  static int ClampVolume(int value) {
    return value < kMinVolume ? kMinVolume : (value > kMaxVolume ? kMaxVolume : value);
  }
  bool operator==(const AlarmProject&) const = default;
};

}  // namespace pwx
