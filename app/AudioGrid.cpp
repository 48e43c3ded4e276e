#include "app/AudioGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableWidget>

#include "app/WindowStyle.h"

namespace pwx {

AudioGridPainter::AudioGridPainter(QAbstractItemView* view)
    : QStyledItemDelegate(view), view_(view) {}

void AudioGridPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool header = index.row() == 0;
  const QColor background = header ? view_->palette().color(QPalette::Window) : QColor(Qt::white);
  const QColor text = header ? QColor(Qt::black) : kPureBlue;
  const QRect cell = option.rect;

  painter->save();
  painter->setClipRect(cell);
  painter->fillRect(cell, background);
  const QString value = index.data(Qt::DisplayRole).toString();
  if (!value.isEmpty()) {
    painter->setFont(option.font);
    painter->setPen(text);
    const QFontMetrics metrics(option.font);
    const int middle = cell.left() + cell.width() / 2;
    const int left = middle - metrics.horizontalAdvance(value) / 2;
    painter->drawText(QPoint(left, cell.top() + 2 + metrics.ascent()), value);
  }
  if (index == view_->currentIndex()) {
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(cell.adjusted(1, 1, -2, -2));
  }
  painter->restore();
}

QTableWidget* MakeAudioGrid(QWidget* parent) {
  auto* grid = new QTableWidget(kGridRows, kGridColumns, parent);
  grid->setObjectName(QStringLiteral("StringGrid1"));
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(1);
  grid->verticalHeader()->setDefaultSectionSize(22);
  grid->horizontalHeader()->setMinimumSectionSize(1);
  grid->setColumnWidth(0, 60);
  grid->setColumnWidth(1, 374);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid->setWordWrap(false);
  grid->setItemDelegate(new AudioGridPainter(grid));
  FillBackground(grid, FaceColour());

  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      auto* item = new QTableWidgetItem();
      // The header row and the number column are fixed: they can be neither selected nor
      // made current.
      const bool selectable = row > 0 && column == 1;
      item->setFlags(selectable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
      grid->setItem(row, column, item);
    }
  }
  return grid;
}

}  // namespace pwx
