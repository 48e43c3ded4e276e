#include "app/SiteDialog.h"

#include <QBrush>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/QtText.h"
#include "app/ReportPdf.h"
#include "common/EditorError.h"
#include "common/FileReplacement.h"
#include "delivery/SiteCheck.h"
#include "delivery/SiteReport.h"

namespace pwx {

SiteDialog::SiteDialog(QWidget* parent, SiteFile site, CopyPlayer copy)
    : QDialog(parent), site_(std::move(site)), copyPlayer_(std::move(copy)) {
  setObjectName(QStringLiteral("SiteDialog"));
  setWindowTitle(QStringLiteral("Site – ") + Text(site_.Path));
  auto* layout = new QVBoxLayout(this);
  players_ = new QTableWidget(this);
  players_->setObjectName(QStringLiteral("SitePlayers"));
  players_->setSelectionBehavior(QAbstractItemView::SelectRows);
  players_->setSelectionMode(QAbstractItemView::SingleSelection);
  players_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(players_);
  busFindings_ = new QLabel(this);
  busFindings_->setObjectName(QStringLiteral("SiteBusFindings"));
  busFindings_->setWordWrap(true);
  busFindings_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(busFindings_);

  auto* buttons = new QDialogButtonBox(this);
  copy_ = buttons->addButton(QStringLiteral("Copy to Card"), QDialogButtonBox::ActionRole);
  copy_->setObjectName(QStringLiteral("SiteCopyToCard"));
  QPushButton* report = buttons->addButton(QStringLiteral("Report…"), QDialogButtonBox::ActionRole);
  report->setObjectName(QStringLiteral("SiteReport"));
  QPushButton* save = buttons->addButton(QStringLiteral("Save"), QDialogButtonBox::ActionRole);
  save->setObjectName(QStringLiteral("SiteSave"));
  buttons->addButton(QDialogButtonBox::Close);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(copy_, &QPushButton::clicked, this, &SiteDialog::CopySelected);
  connect(report, &QPushButton::clicked, this, &SiteDialog::WriteReport);
  connect(save, &QPushButton::clicked, this, &SiteDialog::Save);
  connect(players_, &QTableWidget::cellChanged, this, &SiteDialog::CellEdited);
  Fill();
  resize(980, 520);
}

void SiteDialog::Fill() {
  filling_ = true;
  const std::vector<std::string> columns = SiteColumns(site_);
  players_->setColumnCount(static_cast<int>(columns.size()) + 1);
  QStringList headers;
  for (const std::string& column : columns) headers << Text(column);
  headers << QStringLiteral("Check");
  players_->setHorizontalHeaderLabels(headers);
  players_->setRowCount(static_cast<int>(site_.Players.size()));
  for (int row = 0; row < players_->rowCount(); ++row) {
    const SitePlayer& player = site_.Players[static_cast<std::size_t>(row)];
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
      players_->setItem(
          row, column,
          new QTableWidgetItem(Text(*SiteCell(player, columns[static_cast<std::size_t>(column)]))));
    }
    auto* check = new QTableWidgetItem;
    check->setFlags(check->flags() & ~Qt::ItemIsEditable);
    players_->setItem(row, static_cast<int>(columns.size()), check);
  }
  filling_ = false;
  Recheck();
  players_->resizeColumnsToContents();
  if (players_->rowCount() > 0) players_->selectRow(0);
}

void SiteDialog::Recheck() {
  filling_ = true;
  const SiteSetup setup = SetUpSite(site_);
  const std::vector<SiteFinding> findings = CheckSite(setup, {false, {}});
  const int checkColumn = players_->columnCount() - 1;
  QStringList busWide;
  for (int row = 0; row < players_->rowCount(); ++row) {
    const SitePlayer& player = site_.Players[static_cast<std::size_t>(row)];
    QStringList texts;
    Severity worst = Severity::Info;
    for (const SiteFinding& finding : findings) {
      if (finding.Line != player.Line || finding.Player != player.Name) continue;
      texts << Text(SeverityName(finding.Level) + ": " + finding.Message);
      worst = std::min(worst, finding.Level);
    }
    const QBrush brush = texts.isEmpty()            ? QBrush()
                         : worst == Severity::Error ? QBrush(QColor(255, 205, 205))
                                                    : QBrush(QColor(255, 240, 190));
    for (int column = 0; column < players_->columnCount(); ++column) {
      players_->item(row, column)->setBackground(brush);
    }
    QTableWidgetItem* check = players_->item(row, checkColumn);
    check->setText(texts.isEmpty() ? QStringLiteral("ok") : texts.join(QLatin1Char('\n')));
    check->setToolTip(check->text());
  }
  for (const SiteFinding& finding : findings) {
    if (finding.Player.empty()) busWide << Text(SiteFindingLine(finding));
  }
  busWide << Text(SiteSummary(setup, findings));
  busFindings_->setText(busWide.join(QLatin1Char('\n')));
  filling_ = false;
}

void SiteDialog::CellEdited(int row, int column) {
  if (filling_ || row < 0 || row >= static_cast<int>(site_.Players.size())) return;
  const std::vector<std::string> columns = SiteColumns(site_);
  if (column < 0 || column >= static_cast<int>(columns.size())) return;
  std::string* cell = SiteCell(site_.Players[static_cast<std::size_t>(row)],
                               columns[static_cast<std::size_t>(column)]);
  *cell = players_->item(row, column)->text().trimmed().toStdString();
  if (std::find(site_.Columns.begin(), site_.Columns.end(),
                columns[static_cast<std::size_t>(column)]) == site_.Columns.end()) {
    site_.Columns.push_back(columns[static_cast<std::size_t>(column)]);
  }
  Recheck();
}

void SiteDialog::CopySelected() {
  const int row = players_->currentRow();
  if (row < 0 || row >= static_cast<int>(site_.Players.size())) return;
  if (const auto why = WhyNoCardIsWritten(SetUpSite(site_))) {
    QMessageBox::warning(this, QStringLiteral("Copy to Card"), Text(*why));
    return;
  }
  copyPlayer_(site_, static_cast<std::size_t>(row));
}

void SiteDialog::WriteReport() {
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Site report"),
      Text(SiteLogPath(site_.Path))
          .replace(QStringLiteral(".log.csv"), QStringLiteral("-report.pdf")),
      QStringLiteral("PDF (*.pdf)"));
  if (path.isEmpty()) return;
  try {
    const SiteSetup setup = SetUpSite(site_);
    const std::vector<SiteFinding> findings = CheckSite(setup);
    const ReportOptions now = ReportOptionsNow();
    const std::string html = SiteReportHtml(setup, findings, ReadSiteLog(SiteLogPath(site_.Path)),
                                            {now.MadeAt, now.Program});
    const QByteArray pdf = PdfOfHtml(Text(html), QStringLiteral("Site report"), Text(now.Program));
    ReplaceFile(path.toStdString(),
                std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
  } catch (const EditorError& error) {
    QMessageBox::warning(this, QStringLiteral("Site report"), Text(error.what()));
  }
}

void SiteDialog::Save() {
  try {
    ReplaceFile(site_.Path, SiteFileText(site_));
  } catch (const EditorError& error) {
    QMessageBox::warning(this, QStringLiteral("Save"), Text(error.what()));
  }
}

}  // namespace pwx
