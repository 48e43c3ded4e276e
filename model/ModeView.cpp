#include "model/ModeView.h"

#include "model/SlotTable.h"

namespace pwx {

ModeView::ModeView() {
  RowVisible.fill(true);
  for (int s = 0; s < kSlotCount; ++s) RowLabels[s] = DesignLabel(s);
}

bool ModeView::SlotVisible(int slot) const {
  if (slot < 6) return RowVisible[slot];
  if (slot == kSlotCount - 1) return GroupBox2Visible && Panel3Visible;
  return GroupBox2Visible && RowVisible[slot];
}

void ApplyModeLabels(ModeView& view, std::uint8_t mode) {
  view.TestInputChoices.clear();
  if (mode < 4) {
    view.GroupBox2Visible = false;
    view.RowVisible[4] = view.RowVisible[5] = false;
    view.GroupBox1Caption = kDigitalCaption;
    for (int s = 0; s < 4; ++s) {
      view.TestInputChoices.push_back(DigitalLabel(s));
      view.RowLabels[s] = DigitalLabel(s);
    }
  } else {
    view.RowVisible[4] = view.RowVisible[5] = true;
    view.GroupBox2Visible = true;
    view.GroupBox1Caption = kBinaryCaption;
    for (int s = 15; s < kSlotCount - 1; ++s) view.RowVisible[s] = false;
    view.Panel3Visible = false;
    for (int s = 0; s < 15; ++s) view.TestInputChoices.push_back("bI" + std::to_string(s + 1));
    for (int s = 0; s < 6; ++s) view.RowLabels[s] = BinaryLabel(s);
  }
  view.TestInputIndex = 0;
}

}  // namespace pwx
