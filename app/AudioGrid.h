#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>

#include "model/AudioLibrary.h"

class QAbstractItemView;
class QTableWidget;
class QWidget;

namespace pwx {

inline constexpr int kGridRows = kLibrarySize + 1;  // the header row and clips 1..64
inline constexpr int kGridColumns = 2;
inline constexpr int kGridRowHeight = 22;

// Paints the audio grid's clip cells white with pure blue text, centred on the cell's middle
// 2 pixels below its top. Selection leaves the colours alone; the current cell gets a dotted
// frame so that the row which playback and removal act on stays recognisable.
class AudioGridPainter : public QStyledItemDelegate {
 public:
  explicit AudioGridPainter(QAbstractItemView* view);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  QAbstractItemView* view_;
};

// The grid's header row, pinned above the clip rows: the texts of row 0 on the face colour in
// black, laid out and ruled like the cells below. It neither sorts nor resizes.
class AudioGridHeader : public QHeaderView {
 public:
  explicit AudioGridHeader(QWidget* parent);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The grid `StringGrid1`: 2 columns by 65 rows of 22 pixels, columns 60 and 374 wide. Row 0
// holds the column titles; the header above the rows shows them, so the row itself is hidden
// and the titles stay in view while the clips scroll. Row 0 and column 0 cannot be selected,
// no cell can be edited.
QTableWidget* MakeAudioGrid(QWidget* parent);

}  // namespace pwx
