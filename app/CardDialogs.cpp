#include "app/CardDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DiskService.h"
#include "app/QtText.h"
#include "common/MessageText.h"
#include "delivery/CardVolumes.h"

namespace pwx {

namespace {

QLabel* Notice(const QString& text, QWidget* parent, const char* colour = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  if (colour) label->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(colour));
  return label;
}

QTableWidget* FileTable(QWidget* parent, const QStringList& headers) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  // One line of text a row, so that a card's whole list shows at once.
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setAlternatingRowColors(true);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

void AddRow(QTableWidget* table, const QStringList& cells) {
  const int row = table->rowCount();
  table->insertRow(row);
  for (int column = 0; column < cells.size(); ++column) {
    table->setItem(row, column, new QTableWidgetItem(cells[column]));
  }
}

// The differences of the project (A) and `other` (B) a line each, under a line that sums
// them up; what kept a part from being compared stands in red.
QListWidget* AddDifferences(QVBoxLayout* layout, QWidget* parent, const ProjectDiff& diff,
                            const QString& other) {
  const auto count = static_cast<int>(diff.Lines.size());
  layout->addWidget(Notice(
      count == 0 ? QStringLiteral("No differences in the player's terms: the %1 plays as the "
                                  "project.")
                       .arg(other)
                 : QStringLiteral("%1 in the player's terms (project -> %2):")
                       .arg(count == 1 ? QStringLiteral("1 difference")
                                       : QStringLiteral("%1 differences").arg(count),
                            other),
      parent));
  auto* list = new QListWidget(parent);
  list->setObjectName(QStringLiteral("Differences"));
  for (const DiffLine& line : diff.Lines) list->addItem(Text(line.Text));
  for (const std::string& trouble : diff.Troubles) {
    auto* item = new QListWidgetItem(Text(trouble), list);
    item->setForeground(QColor(0xb0, 0, 0));
  }
  list->setVisible(list->count() > 0);
  // As high as its lines, up to a dozen of them; the rest scrolls.
  list->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  list->setMaximumHeight(list->fontMetrics().height() * 12 + 2 * list->frameWidth() + 8);
  layout->addWidget(list);
  return list;
}

std::vector<Volume> MountedVolumes() {
  std::vector<Volume> volumes;
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    if (!storage.isValid() || !storage.isReady()) continue;
    volumes.push_back({NativePath(storage.rootPath()), storage.device().toStdString(),
                       storage.fileSystemType().toStdString(), storage.name().toStdString(),
                       static_cast<std::uint64_t>(std::max<qint64>(storage.bytesTotal(), 0)),
                       static_cast<std::uint64_t>(std::max<qint64>(storage.bytesAvailable(), 0)),
                       storage.isReadOnly(), std::nullopt});
  }
  return volumes;
}

}  // namespace

std::string FileHashStorePath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  return NativePath(folder + QStringLiteral("/file-hashes"));
}

std::optional<QString> ChooseCard(QWidget* parent, const QString& title) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("CardChooser"));
  dialog.setWindowTitle(title);
  auto* notice = Notice(QString(), &dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName(QStringLiteral("Cards"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  const DiskService disks(&dialog);
  // The cards as they are now; again whenever the disk service sees one come, go or mount.
  const auto fill = [&] {
    const QString current =
        list->currentItem() ? list->currentItem()->data(Qt::UserRole).toString() : QString();
    list->clear();
    std::vector<Volume> mounted = MountedVolumes();
    const auto inventory = disks.Read();
    if (inventory)
      mounted = WithRemovableFlags(std::move(mounted), inventory->Blocks, inventory->Drives);
    for (const Volume& volume : CardCandidates(mounted)) {
      auto* item = new QListWidgetItem(Text(VolumeText(volume)), list);
      item->setData(Qt::UserRole, Text(volume.Root));
      if (item->data(Qt::UserRole).toString() == current) list->setCurrentItem(item);
    }
    if (inventory) {
      for (const KnownCard& card : RemovableCards(inventory->Blocks, inventory->Drives)) {
        if (!card.Root.empty()) continue;
        const std::string name = card.Block.Label.empty() ? card.Block.Device : card.Block.Label;
        auto* item =
            new QListWidgetItem(Text(name + " (not mounted): " + SizeText(card.Block.Size)), list);
        item->setFlags(Qt::NoItemFlags);
      }
    }
    const int usable = static_cast<int>(CardCandidates(mounted).size());
    if (!list->currentItem() && usable > 0) list->setCurrentRow(0);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(usable > 0);
    notice->setText(usable > 0 ? QStringLiteral("Choose the player's card, or another folder:")
                               : QStringLiteral("No card is mounted. Insert the player's card, "
                                                "or choose a folder:"));
  };
  fill();
  QObject::connect(&disks, &DiskService::Changed, &dialog, fill);
  QPushButton* other =
      buttons->addButton(QStringLiteral("&Other Folder…"), QDialogButtonBox::ActionRole);
  std::optional<QString> chosen;
  QObject::connect(other, &QPushButton::clicked, &dialog, [&] {
    const QString folder = QFileDialog::getExistingDirectory(&dialog, title);
    if (folder.isEmpty()) return;
    chosen = folder;
    dialog.accept();
  });
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(notice);
  layout->addWidget(list);
  layout->addWidget(buttons);
  dialog.resize(520, 260);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (!chosen && list->currentItem()) chosen = list->currentItem()->data(Qt::UserRole).toString();
  return chosen;
}

CardPlanDialog::CardPlanDialog(QWidget* parent, const DeployPlan& plan,
                               const std::vector<Finding>& findings)
    : QDialog(parent) {
  setObjectName(QStringLiteral("CardPlan"));
  setWindowTitle(QStringLiteral("Copy to Card"));
  auto* layout = new QVBoxLayout(this);

  std::vector<const Finding*> errors;
  for (const Finding& finding : findings) {
    if (finding.Level == Severity::Error) errors.push_back(&finding);
  }
  if (!errors.empty()) {
    QString text =
        QStringLiteral(
            "The project check found %1 %2: the project will not play as "
            "meant.")
            .arg(errors.size())
            .arg(errors.size() == 1 ? QStringLiteral("error") : QStringLiteral("errors"));
    for (std::size_t i = 0; i < std::min<std::size_t>(errors.size(), 3); ++i) {
      text += QStringLiteral("\n• ") + Text(errors[i]->Where() + ": " + errors[i]->Message);
    }
    layout->addWidget(Notice(text, this, "#b00000"));
  }
  if (plan.Refusal) layout->addWidget(Notice(Text(*plan.Refusal), this, "#b00000"));

  if (plan.Warning) layout->addWidget(Notice(Text(*plan.Warning), this, "#a05000"));

  layout->addWidget(Notice(QStringLiteral("Card: ") + Text(plan.Destination) +
                               QStringLiteral(" (") + Text(CardFolderText(plan.Card)) +
                               QStringLiteral(")"),
                           this));
  layout->addWidget(Notice(QStringLiteral("To write: %1 files, %2. Already up to date on the "
                                          "card: %3 files.")
                               .arg(plan.FilesToWrite())
                               .arg(Text(SizeText(plan.BytesToWrite())))
                               .arg(plan.FilesUpToDate()),
                           this));
  layout->addWidget(
      Notice(QStringLiteral("Room: %1 needed, %2 free.")
                 .arg(Text(SizeText(plan.NeededBytes)), Text(SizeText(plan.FreeBytes))),
             this));

  files_ = FileTable(
      this, {QStringLiteral("File"), QStringLiteral("Size"), QStringLiteral("On the card")});
  for (const PlayerFile& file : plan.Files) {
    AddRow(files_, {Text(file.Name), Text(SizeText(file.Bytes)),
                    file.UpToDate ? QStringLiteral("up to date")
                    : file.OnCard ? QStringLiteral("to replace")
                                  : QStringLiteral("to write")});
  }
  const auto addEntries = [this](const std::vector<CardEntry>& entries, const QString& file,
                                 const QString& folder) {
    for (const CardEntry& entry : entries) {
      AddRow(files_, {Text(entry.Name) + (entry.Folder ? QStringLiteral("/") : QString()),
                      entry.Folder ? QString() : Text(SizeText(entry.Bytes)),
                      entry.Folder ? folder : file});
    }
  };
  addEntries(plan.Stale, QStringLiteral("stale: not used"), {});
  addEntries(plan.Clutter, QStringLiteral("left by another system: deleted when asked"),
             QStringLiteral("left by another system: kept"));
  addEntries(plan.Others, QStringLiteral("other file: kept"), QStringLiteral("other folder: kept"));
  addEntries(plan.Leftovers, QStringLiteral("left by an interrupted copy: removed"), {});
  files_->resizeColumnsToContents();
  layout->addWidget(files_);

  const bool clutter = !plan.ClutterFiles().empty();
  if (!plan.Stale.empty() || clutter) {
    deleteStale_ = new QCheckBox(
        plan.Stale.empty() ? QStringLiteral("Delete the files that other systems left on the card")
        : clutter ? QStringLiteral("Delete clips on the card that the project does not use, and "
                                   "the files that other systems left")
                  : QStringLiteral("Delete clips on the card that the project does not use"),
        this);
    deleteStale_->setObjectName(QStringLiteral("DeleteStale"));
    layout->addWidget(deleteStale_);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  copy_ =
      buttons->addButton(errors.empty() ? QStringLiteral("Copy") : QStringLiteral("Copy anyway"),
                         QDialogButtonBox::AcceptRole);
  copy_->setObjectName(QStringLiteral("CopyButton"));
  copy_->setEnabled(!plan.Refusal);
  copy_->setDefault(errors.empty() && !plan.Refusal);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(640, 520);
}

bool CardPlanDialog::DeleteStale() const {
  return deleteStale_ && deleteStale_->isChecked();
}

CardCompareDialog::CardCompareDialog(QWidget* parent, const DeployPlan& plan,
                                     const ProjectDiff& diff)
    : QDialog(parent) {
  setObjectName(QStringLiteral("CardCompare"));
  setWindowTitle(QStringLiteral("Compare with Card"));
  auto* layout = new QVBoxLayout(this);
  const auto comparison = CompareWithCard(plan);
  layout->addWidget(Notice(QStringLiteral("Card: ") + Text(plan.Destination), this));
  const bool same = CardHoldsProject(plan, comparison);
  layout->addWidget(
      Notice(Text(ComparisonSummary(comparison)) +
                 (same ? QStringLiteral(": the card holds this project.") : QString()),
             this, same ? "#006000" : "#b00000"));
  differences_ = AddDifferences(layout, this, diff, QStringLiteral("card"));
  files_ = FileTable(this, {QStringLiteral("File"), QStringLiteral("State")});
  for (const auto& item : comparison) {
    AddRow(files_, {Text(item.Name), Text(CardStateText(item.State))});
    if (item.State != CardState::Same) {
      files_->item(files_->rowCount() - 1, 1)->setForeground(QColor(0xb0, 0, 0));
    }
  }
  for (const auto& name : plan.MissingInProject) {
    AddRow(files_, {Text(name), QStringLiteral("missing in the project")});
  }
  files_->resizeColumnsToContents();
  layout->addWidget(files_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(560, 620);
}

ProjectCompareDialog::ProjectCompareDialog(QWidget* parent, const QString& folder,
                                           const ProjectDiff& diff)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ProjectCompare"));
  setWindowTitle(QStringLiteral("Compare with Project"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Notice(QStringLiteral("Other project: ") + folder, this));
  differences_ = AddDifferences(layout, this, diff, QStringLiteral("other project"));
  layout->addStretch(1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(560, differences_->isHidden() ? 160 : 320);
}

}  // namespace pwx
