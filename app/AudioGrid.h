#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;
class QTableWidget;
class QWidget;

namespace pwx {

inline constexpr int kGridRows = 65;  // the header row and clips 1..64
inline constexpr int kGridColumns = 2;

// Paints the audio grid's cells: the header row on the menu colour in black, every other
// row white with pure blue text; the text centred on the cell's middle, 2 pixels below its
// top. Selection leaves the colours alone; the current cell gets a dotted frame so that
// the row which playback and removal act on stays recognisable.
class AudioGridPainter : public QStyledItemDelegate {
 public:
  explicit AudioGridPainter(QAbstractItemView* view);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  QAbstractItemView* view_;
};

// The grid `StringGrid1`: 2 columns by 65 rows of 22 pixels, columns 60 and 374 wide, no
// headers; row 0 and column 0 cannot be selected, no cell can be edited.
QTableWidget* MakeAudioGrid(QWidget* parent);

}  // namespace pwx
