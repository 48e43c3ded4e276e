#pragma once

#include <QComboBox>
#include <QFrame>
#include <array>

#include "model/AlarmProject.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace pwx {

// A clip selector: a drop-down list whose text gets all the room left of the button, so
// that "None" fits into its 50 pixels with the platform's wider fonts.
class ClipSelector : public QComboBox {
 public:
  using QComboBox::QComboBox;

  // Where the text goes: the selector's area left of its drop-down button.
  QRect TextField() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A fixed caption that a slot row paints itself ("#1" to "#4", "Repeat"): a row has five, and
// the window up to 75 of them, which as widgets would cost more than the rest of the row.
struct RowCaption {
  QRect Place;
  QString Text;
};

// One slot row of the alarm configuration: its label, the clip selectors "#1" to "#4",
// the Repeat box and the "Alarm Output" box, all named after the slot table.
class SlotRow : public QFrame {
 public:
  static constexpr int kWidth = 695;
  static constexpr int kHeight = 25;

  SlotRow(int slot, QWidget* parent);

  int Slot() const { return slot_; }

  // The row's label; the controls' accessible names follow it ("DI1 #1", "DI1 Repeat").
  void SetLabel(const QString& text);

  // The captions the row paints, each in its place.
  static const std::array<RowCaption, kClipsPerSlot + 1>& Captions();

  QLabel* Label = nullptr;
  std::array<QComboBox*, kClipsPerSlot> Clips{};
  QLineEdit* Repeat = nullptr;
  QCheckBox* AlarmOutput = nullptr;

 protected:
  // Paints the captions as a label would: left-aligned, centred in height, in the row's font.
  void paintEvent(QPaintEvent* event) override;

 private:
  int slot_;
};

}  // namespace pwx
