#include "model/ModeView.h"

#include "model/SlotLabels.h"

namespace pwx {

ModeView::ModeView() {
  RowVisible.fill(true);
  for (int s = 0; s < kSlotCount; ++s) RowLabels[static_cast<std::size_t>(s)] = DesignLabel(s);
}

bool ModeView::SlotVisible(int slot) const {
  if (slot < kFirstListSlot) return RowVisible[static_cast<std::size_t>(slot)];
  if (slot == kSpareSlot) return SecondGroupVisible && SpareRowFrameVisible;
  return SecondGroupVisible && RowVisible[static_cast<std::size_t>(slot)];
}

void ApplyModeLabels(ModeView& view, std::uint8_t mode) {
  view.TestInputChoices.clear();
  if (mode < 4) {
    view.SecondGroupVisible = false;
    view.RowVisible[4] = view.RowVisible[5] = false;
    view.FirstGroupCaption = kDigitalCaption;
    for (int s = 0; s < InputsOfMode(mode); ++s) {
      view.TestInputChoices.push_back(DigitalLabel(s));
      view.RowLabels[static_cast<std::size_t>(s)] = DigitalLabel(s);
    }
  } else {
    view.RowVisible[4] = view.RowVisible[5] = true;
    view.SecondGroupVisible = true;
    view.FirstGroupCaption = kBinaryCaption;
    for (int s = InputsOfMode(mode); s < kSpareSlot; ++s)
      view.RowVisible[static_cast<std::size_t>(s)] = false;
    view.SpareRowFrameVisible = false;
    for (int s = 0; s < InputsOfMode(mode); ++s)
      view.TestInputChoices.push_back("bI" + std::to_string(s + 1));
    for (int s = 0; s < 6; ++s) view.RowLabels[static_cast<std::size_t>(s)] = BinaryLabel(s);
  }
  view.TestInputIndex = 0;
}

}  // namespace pwx
