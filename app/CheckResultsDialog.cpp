#include "app/CheckResultsDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace pwx {

namespace {

QIcon SeverityIcon(Severity level) {
  const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_MessageBoxCritical,
                                            QStyle::SP_MessageBoxWarning,
                                            QStyle::SP_MessageBoxInformation};
  return QApplication::style()->standardIcon(pixmaps[static_cast<int>(level)]);
}

QString SummaryText(const std::vector<Finding>& findings) {
  if (NoProblems(findings)) {
    return QStringLiteral("No problems found: the project is ready to copy to the player.");
  }
  return QString::fromStdString(CheckSummary(findings));
}

}  // namespace

CheckResultsDialog::CheckResultsDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CheckResults"));
  setWindowTitle(QStringLiteral("Project Check Results"));
  resize(900, 420);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("CheckSummary"));
  QFont bold = summary_->font();
  bold.setBold(true);
  summary_->setFont(bold);

  list_ = new QTableWidget(0, 3, this);
  list_->setObjectName(QStringLiteral("CheckFindings"));
  list_->setHorizontalHeaderLabels(
      {QStringLiteral("Severity"), QStringLiteral("Where"), QStringLiteral("Message")});
  list_->verticalHeader()->hide();
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setShowGrid(false);
  list_->setWordWrap(true);
  list_->setAlternatingRowColors(true);
  list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->setColumnWidth(0, 90);
  list_->setColumnWidth(1, 170);
  // Long messages wrap: the rows grow with the text whenever the columns change width.
  connect(list_->horizontalHeader(), &QHeaderView::sectionResized, list_,
          &QTableWidget::resizeRowsToContents);
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row < 0 || row >= static_cast<int>(findings_.size())) return;
    const Finding& finding = findings_[static_cast<std::size_t>(row)];
    if (finding.Slot >= 0) {
      emit InputChosen(finding.Slot);
    } else if (finding.Clip > 0) {
      emit ClipChosen(finding.Clip);
    }
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* again =
      buttons->addButton(QStringLiteral("Check Again"), QDialogButtonBox::ActionRole);
  connect(again, &QPushButton::clicked, this, &CheckResultsDialog::CheckAgain);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_);
  auto* hint = new QLabel(
      QStringLiteral("Double-click a finding about a clip or an input to show it."), this);
  layout->addWidget(hint);
  layout->addWidget(buttons);
}

void CheckResultsDialog::ShowFindings(const std::vector<Finding>& findings) {
  findings_ = findings;
  summary_->setText(SummaryText(findings));
  list_->setRowCount(static_cast<int>(findings.size()));
  for (int row = 0; row < list_->rowCount(); ++row) {
    const Finding& finding = findings[static_cast<std::size_t>(row)];
    auto cell = [&](int column, const std::string& text) {
      auto* item = new QTableWidgetItem(QString::fromStdString(text));
      item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
      list_->setItem(row, column, item);
      return item;
    };
    cell(0, SeverityName(finding.Level))->setIcon(SeverityIcon(finding.Level));
    cell(1, finding.Where());
    cell(2, finding.Message);
  }
  list_->resizeRowsToContents();
  if (!findings.empty()) list_->setCurrentCell(0, 0);
}

}  // namespace pwx
