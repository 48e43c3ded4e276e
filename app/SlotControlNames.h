#pragma once

#include <array>

#include "model/AlarmProject.h"

namespace pwx {

// The object names of the controls that hold one slot row, as the window's design names them.
struct SlotControls {
  const char* Panel;
  const char* Label;
  std::array<const char*, kClipsPerSlot> Clips;  // "#1" to "#4", left to right
  const char* Repeat;
  const char* AlarmOutput;
};

// Row controls of slots 0..31, in the order the play-list file stores the slots.
extern const std::array<SlotControls, kSlotCount> kSlotTable;

}  // namespace pwx
