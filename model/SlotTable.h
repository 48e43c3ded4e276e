#pragma once

#include <array>
#include <string>

#include "model/AlarmProject.h"

namespace pwx {

// The window controls that hold one slot row, by their object names.
struct SlotControls {
  const char* Panel;
  const char* Label;
  std::array<const char*, kClipsPerSlot> Clips;  // "#1" to "#4", left to right
  const char* Repeat;
  const char* AlarmOutput;
};

// Row controls of slots 0..31, in the order the play-list file stores the slots.
extern const std::array<SlotControls, kSlotCount> kSlotTable;

// Slot s of the digital family is input "DI<s+1>".
std::string DigitalLabel(int slot);

// Slot s of the binary family: "bI<n> (<n in binary>b)", four digits up to 15, five above.
std::string BinaryLabel(int slot);

// The label a row carries before any mode is applied: "DI1".."DI6" for slots 0..5, the
// binary labels for slots 6..30 and the spare row's fixed "DI6".
std::string DesignLabel(int slot);

// Which slots a mode family shows: 0..3 for modes below 4, 0..14 otherwise.
bool SlotShownInMode(int slot, std::uint8_t mode);

}  // namespace pwx
