#pragma once

#include <array>

#include "model/AlarmProject.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMainWindow;
class QRadioButton;
class QScrollArea;
class QSlider;
class QStatusBar;
class QTableWidget;
class QToolButton;
class QWidget;

class QAction;

namespace pwx {

class SlotRow;

// The window's controls, named as in the window's design.
struct WindowWidgets {
  // Top bar
  QFrame* Panel21 = nullptr;
  QToolButton* SpeedButton7 = nullptr;  // Load Project
  QToolButton* SpeedButton9 = nullptr;  // Save Project
  QToolButton* SpeedButton1 = nullptr;  // Open Folder
  QToolButton* CheckProject = nullptr;  // runs the project check
  QAction* MaxTrigger = nullptr;        // its menu: the check's limit on one trigger
  QToolButton* Report = nullptr;        // writes the commissioning report
  QToolButton* CopyToCard = nullptr;    // copies the project to a card; its menu compares
  QAction* CompareWithCard = nullptr;
  QAction* Site = nullptr;
  QAction* CompareWithProject = nullptr;
  QLabel* Label115 = nullptr;       // the project folder
  QMenu* RecentProjects = nullptr;  // the arrow of Load Project

  // Stage 1
  QFrame* Panel38 = nullptr;
  QLabel* Label112 = nullptr;  // the volume
  QSlider* TrackBar1 = nullptr;
  QLineEdit* Edit19 = nullptr;      // Device ID
  QComboBox* ComboBox75 = nullptr;  // BaudRate
  QComboBox* ComboBox76 = nullptr;  // Parity
  QComboBox* ComboBox77 = nullptr;  // Data bit
  QComboBox* ComboBox78 = nullptr;  // Stop bit

  // Stage 2
  QFrame* Panel20 = nullptr;
  QRadioButton* RadioButton1 = nullptr;  // Play Source
  QRadioButton* RadioButton2 = nullptr;  // Play Project
  QToolButton* SpeedButton4 = nullptr;   // Play Audio
  QToolButton* SpeedButton5 = nullptr;   // Stop Audio
  QToolButton* SpeedButton6 = nullptr;   // Delete audio file list
  QToolButton* Loudness = nullptr;       // its menu: level imports, level all clips
  QAction* LevelImports = nullptr;
  QAction* LevelAllClips = nullptr;
  QToolButton* ImportClip = nullptr;  // imports into the current row
  QTableWidget* StringGrid1 = nullptr;
  QLabel* GridHint = nullptr;  // over the empty grid: how to import
  // The trigger-input test: the input, test and stop, and the input's timeline
  QComboBox* ComboBox74 = nullptr;
  QToolButton* SpeedButton3 = nullptr;
  QToolButton* SpeedButton8 = nullptr;
  QToolButton* TestSheet = nullptr;  // the acceptance test sheet of every input
  class TimelineStrip* Timeline = nullptr;

  // Stage 3
  QComboBox* ComboBox1 = nullptr;  // Mode
  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QScrollArea* ScrollBox1 = nullptr;
  QWidget* ScrollContent = nullptr;
  QFrame* Panel3 = nullptr;
  QToolButton* Undo = nullptr;  // right of Mode
  QToolButton* Redo = nullptr;
  QToolButton* Help = nullptr;  // About, with F1
  // Built when first shown; a row no mode shows is never built (its values live in the
  // Editor's record all the same).
  std::array<SlotRow*, kSlotCount> Rows{};

  // Status bar
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusLine = nullptr;
};

inline constexpr int kClientWidth = 1208;
inline constexpr int kClientHeight = 559;

// Builds every control of the window at its fixed place, the slot rows of the first group
// among them; the other slot rows come with MakeSlotRow.
WindowWidgets BuildWindowLayout(QMainWindow& window);

// The "Test input" bar in the third stage's header (the input, test and stop), and the
// timeline strip of that input beside the first group's caption.
void PlaceTestInputBar(QWidget* client, WindowWidgets& widgets);

// Builds a slot row in its container at its place.
SlotRow* MakeSlotRow(WindowWidgets& widgets, int slot);

// Makes the scroll list as tall as its last visible row, so it scrolls only as far as needed.
void FitScrollContent(WindowWidgets& widgets);

}  // namespace pwx
