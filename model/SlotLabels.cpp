#include "model/SlotLabels.h"

#include "model/AlarmProject.h"

namespace pwx {

std::string DigitalLabel(int slot) {
  return "DI" + std::to_string(slot + 1);
}

std::string BinaryLabel(int slot) {
  const int input = slot + 1;
  const int digits = input < 16 ? 4 : 5;
  std::string binary;
  for (int bit = digits - 1; bit >= 0; --bit) binary += ((input >> bit) & 1) ? '1' : '0';
  return "bI" + std::to_string(input) + " (" + binary + "b)";
}

int InputsOfMode(std::uint8_t mode) {
  return mode < 4 ? 4 : 15;
}

std::vector<std::string> InputLabelsOfMode(std::uint8_t mode) {
  std::vector<std::string> labels;
  for (int slot = 0; slot < InputsOfMode(mode); ++slot) {
    labels.push_back(mode < 4 ? DigitalLabel(slot) : BinaryLabel(slot));
  }
  return labels;
}

std::string DesignLabel(int slot) {
  if (slot < 6) return DigitalLabel(slot);
  if (slot == kSlotCount - 1) return "DI6";
  return BinaryLabel(slot);
}

}  // namespace pwx
