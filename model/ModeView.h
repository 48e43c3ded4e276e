#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/AlarmProject.h"

namespace pwx {

// What the alarm-configuration stage shows for the mode last applied: the caption of the
// first input group, whether the second group (slots 6..30 and the spare row's frame) can be
// seen, which rows are shown and how they are labelled, and the hidden test-input selector.
// It changes only through ApplyModeLabels; slot values are never touched.
struct ModeView {
  std::string FirstGroupCaption = "Mode 0-3, Digital Input(DI1~DI6)";
  bool SecondGroupVisible = true;
  bool SpareRowFrameVisible = true;
  std::array<bool, kSlotCount> RowVisible;
  std::array<std::string, kSlotCount> RowLabels;
  std::vector<std::string> TestInputChoices{"DI1", "DI2", "DI3", "DI4", "DI5", "DI6"};
  int TestInputIndex = -1;

  ModeView();

  // Whether a slot row can be seen: its own flag and those of the containers around it.
  bool SlotVisible(int slot) const;
};

// Slots 0..5 sit in the first group; 6..30 in the second group's scroll list; 31, the spare
// row, in a frame of its own below that list.
inline constexpr int kFirstListSlot = 6;
inline constexpr int kSpareSlot = kSlotCount - 1;

inline constexpr const char* kDigitalCaption = "Mode 0-3, Digital Pin Input(DI1~DI4)";
inline constexpr const char* kBinaryCaption = "Mode 4-7, Binary Input(bI1~bI6))";
inline constexpr const char* kSecondGroupCaption = "Mode 4-7, Binary Input(bI7~bI15)";

// Labels, shows and hides the slot rows for a mode.
void ApplyModeLabels(ModeView& view, std::uint8_t mode);

}  // namespace pwx
