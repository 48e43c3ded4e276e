#include "app/TestSheetDialog.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/QtText.h"
#include "common/EditorError.h"
#include "common/UtcTime.h"
#include "delivery/AcceptanceRecord.h"
#include "delivery/InputSequence.h"
#include "delivery/TestSheet.h"

namespace pwx {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(Text(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setToolTip(item->text());
  return item;
}

}  // namespace

TestSheetDialog::TestSheetDialog(ProjectSnapshot project, QWidget* parent)
    : QDialog(parent), project_(std::move(project)) {
  setObjectName(QStringLiteral("TestSheet"));
  setWindowTitle(QStringLiteral("Test sheet"));
  resize(1000, 460);

  witness_ = new QLineEdit(this);
  witness_->setObjectName(QStringLiteral("TestWitness"));
  witness_->setPlaceholderText(QStringLiteral("Name of the witness"));
  date_ = new QDateEdit(QDate::currentDate(), this);
  date_->setObjectName(QStringLiteral("TestDate"));
  date_->setDisplayFormat(kDateFormat);
  date_->setCalendarPopup(true);
  auto* people = new QFormLayout;
  people->addRow(QStringLiteral("Witness"), witness_);
  people->addRow(QStringLiteral("Date of the test"), date_);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("TestSummary"));
  QFont bold = summary_->font();
  bold.setBold(true);
  summary_->setFont(bold);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("TestRecordProblem"));
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #b00000;"));

  sheet_ = new QTableWidget(0, Columns, this);
  sheet_->setObjectName(QStringLiteral("TestSheetInputs"));
  sheet_->setHorizontalHeaderLabels({QStringLiteral("Input"), QStringLiteral("Expected sequence"),
                                     QStringLiteral("Total"), QStringLiteral("Alarm output"),
                                     QStringLiteral("State"), QStringLiteral("Recorded at"),
                                     QStringLiteral("Mark"), QStringLiteral("Note")});
  sheet_->verticalHeader()->hide();
  sheet_->setSelectionMode(QAbstractItemView::NoSelection);
  sheet_->setAlternatingRowColors(true);
  sheet_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  sheet_->horizontalHeader()->setStretchLastSection(true);
  const int widths[] = {90, 260, 70, 90, 60, 150, 80};
  for (int column = 0; column < Mark + 1; ++column) sheet_->setColumnWidth(column, widths[column]);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  save_ = buttons->addButton(QStringLiteral("Save results"), QDialogButtonBox::ApplyRole);
  save_->setObjectName(QStringLiteral("SaveTestResults"));
  connect(save_, &QPushButton::clicked, this, &TestSheetDialog::Save);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* hint = new QLabel(
      QStringLiteral("Mark each input passed or failed after testing it on the player. "
                     "Results are kept in acceptance.json in the project folder; a result "
                     "is void once what its input plays changes."),
      this);
  hint->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(people);
  layout->addWidget(summary_);
  layout->addWidget(problem_);
  layout->addWidget(sheet_);
  layout->addWidget(hint);
  layout->addWidget(buttons);
  Load(FingerprintOf(project_));
}

void TestSheetDialog::Load(const ProjectFingerprint& fingerprint) {
  std::optional<AcceptanceRecord> record;
  std::string problem;
  try {
    record = ReadAcceptanceRecord(project_, fingerprint);
  } catch (const EditorError& error) {
    problem = error.what();
  }
  problem_->setText(Text(problem));
  problem_->setVisible(!problem.empty());
  // A record that cannot be read is left as it is: nothing is saved over it.
  save_->setEnabled(problem.empty());
  if (record) {
    if (witness_->text().isEmpty()) witness_->setText(Text(record->Witness));
    const QDate date = QDate::fromString(Text(record->Date), kDateFormat);
    if (date.isValid()) date_->setDate(date);
  }

  const auto statuses = TestStatusOf(record, project_, fingerprint);
  summary_->setText(problem.empty() ? Text(TestedSummary(statuses)) : QString());
  const auto lines = TestSheetOf(SequencesOfMode(project_), statuses, project_.Project.Library);
  sheet_->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < sheet_->rowCount(); ++row) {
    const TestSheetLine& line = lines[static_cast<std::size_t>(row)];
    const std::string* texts[] = {&line.Input,       &line.Expected, &line.Total,
                                  &line.AlarmOutput, &line.State,    &line.Time};
    for (int column = 0; column < Mark; ++column)
      sheet_->setItem(row, column, Cell(*texts[column]));
    auto* mark = new QComboBox(sheet_);
    mark->setObjectName(QStringLiteral("TestMark"));
    mark->addItems({QString(), QStringLiteral("passed"), QStringLiteral("failed")});
    mark->setEnabled(problem.empty());
    sheet_->setCellWidget(row, Mark, mark);
    auto* note = new QLineEdit(Text(line.Note), sheet_);
    note->setObjectName(QStringLiteral("TestNote"));
    note->setEnabled(problem.empty());
    sheet_->setCellWidget(row, Note, note);
  }
}

void TestSheetDialog::Save() {
  const std::string time = UtcTimeNow();
  const std::string witness = witness_->text().trimmed().toStdString();
  const std::string date = date_->date().toString(kDateFormat).toStdString();
  // The player's files are hashed once for all the results saved and the sheet shown after.
  const ProjectFingerprint fingerprint = FingerprintOf(project_);
  int saved = 0;
  try {
    for (int row = 0; row < sheet_->rowCount(); ++row) {
      const QString mark = static_cast<QComboBox*>(sheet_->cellWidget(row, Mark))->currentText();
      if (mark.isEmpty()) continue;
      TestEntry entry;
      entry.Slot = row;
      entry.Result = mark == QStringLiteral("passed") ? TestResult::Passed : TestResult::Failed;
      entry.Note = static_cast<QLineEdit*>(sheet_->cellWidget(row, Note))->text().toStdString();
      if (!witness.empty()) entry.Witness = witness;
      entry.Date = date;
      entry.Time = time;
      RecordTestResult(project_, entry, fingerprint);
      ++saved;
    }
  } catch (const EditorError& error) {
    Load(fingerprint);
    problem_->setText(Text(error.what()));
    problem_->show();
    return;
  }
  Load(fingerprint);
  if (saved == 0) {
    problem_->setText(QStringLiteral("Nothing to save: no input is marked passed or failed."));
    problem_->show();
  }
}

}  // namespace pwx
