#include "app/AudioGrid.h"

#include <QPainter>
#include <QStyleOption>
#include <QTableWidget>

#include "app/WindowStyle.h"

namespace pwx {

namespace {

// Fills a cell and writes its text centred on the cell's middle, 2 pixels below its top.
void PaintCell(QPainter* painter, const QRect& cell, const QString& text, const QFont& font,
               const QColor& background, const QColor& colour) {
  painter->setClipRect(cell);
  painter->fillRect(cell, background);
  if (text.isEmpty()) return;
  painter->setFont(font);
  painter->setPen(colour);
  const QFontMetrics metrics(font);
  const int middle = cell.left() + cell.width() / 2;
  const int left = middle - metrics.horizontalAdvance(text) / 2;
  painter->drawText(QPoint(left, cell.top() + 2 + metrics.ascent()), text);
}

}  // namespace

AudioGridPainter::AudioGridPainter(QAbstractItemView* view)
    : QStyledItemDelegate(view), view_(view) {}

void AudioGridPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  painter->save();
  PaintCell(painter, option.rect, index.data(Qt::DisplayRole).toString(), option.font, Qt::white,
            kPureBlue);
  if (index == view_->currentIndex()) {
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
  }
  painter->restore();
}

AudioGridHeader::AudioGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(false);
  setHighlightSections(false);
  setSectionResizeMode(QHeaderView::Fixed);
  setMinimumSectionSize(1);
  setFixedHeight(kGridRowHeight);
}

void AudioGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  // The grid's own font and lines, as the cells below have them.
  const QWidget* grid = parentWidget() ? parentWidget() : this;
  QStyleOption option;
  option.initFrom(grid);
  const QColor lines = QColor::fromRgba(
      static_cast<QRgb>(style()->styleHint(QStyle::SH_Table_GridLineColor, &option, grid)));
  const QString text = model()->headerData(logicalIndex, orientation()).toString();
  const QRect cell = rect.adjusted(0, 0, -1, -1);

  painter->save();
  PaintCell(painter, cell, text, grid->font(), palette().color(QPalette::Window), Qt::black);
  painter->setClipRect(rect);
  painter->setPen(lines);
  painter->drawLine(rect.topRight(), rect.bottomRight());
  painter->drawLine(rect.bottomLeft(), rect.bottomRight());
  painter->restore();
}

QTableWidget* MakeAudioGrid(QWidget* parent) {
  auto* grid = new QTableWidget(kGridRows, kGridColumns, parent);
  grid->setObjectName(QStringLiteral("StringGrid1"));
  grid->setHorizontalHeader(new AudioGridHeader(grid));
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setMinimumSectionSize(1);
  grid->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
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
  for (int column = 0; column < kGridColumns; ++column) {
    grid->setHorizontalHeaderItem(column, new QTableWidgetItem());
  }
  // Whatever row 0 says, the header says.
  QObject::connect(grid, &QTableWidget::itemChanged, grid, [grid](QTableWidgetItem* item) {
    if (item->row() != 0) return;
    QTableWidgetItem* title = grid->horizontalHeaderItem(item->column());
    if (title->text() != item->text()) title->setText(item->text());
  });
  grid->setRowHidden(0, true);
  return grid;
}

}  // namespace pwx
