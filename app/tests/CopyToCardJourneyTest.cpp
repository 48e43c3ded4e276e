#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/CardDialogs.h"

namespace pwx::apptest {

namespace {

// Closes each message box as it shows, keeping its text: the box runs its own loop, so it is
// watched from a timer.
class MessageBoxCloser {
 public:
  MessageBoxCloser() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts_ << box->text();
        box->accept();
      }
    });
    timer_.start();
  }
  const QStringList& Texts() const { return texts_; }

 private:
  QTimer timer_;
  QStringList texts_;
};

}  // namespace

// A saved project goes onto a card through the window: the plan lists what is written and
// the stale clip, the copy deletes that clip when asked and ends verified; a second look
// compares the card with the project.
class CopyToCardJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void copiesThePlannedFilesAndComparesTheCard() {
    WindowUnderTest t;
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        t.folder.Path("001.mp3")));
    t.WriteProject({1}, PlayListBytes().Saved().Slot(0, {1}));
    // The card lies outside the project folder, which is the start folder here.
    QTemporaryDir cards;
    const QString card = cards.filePath("Karte Grün");
    QVERIFY(QDir().mkpath(card));
    for (const QString& name : {QStringLiteral("017.mp3"), QStringLiteral("._017.mp3")}) {
      QFile stale(card + "/" + name);
      QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("a clip of an older project") > 0);
    }
    t.Open();
    QVERIFY(t.Show());
    t.Find<QToolButton>("SpeedButton9")->click();  // writes rtu.cfg, vol.cfg and Err1.mp3

    QStringList asked;
    t.window->SetCardChooser([&](const QString& title) -> std::optional<QString> {
      asked << title;
      return card;
    });
    bool reviewed = false;
    t.window->SetPlanReview([&](CardPlanDialog& plan) {
      reviewed = true;
      [&] {
        QCOMPARE(plan.CopyButton()->text(), "Copy");
        QTableWidget* files = plan.Files();
        QCOMPARE(files->rowCount(), 8);  // six player files, the stale clip, a resource fork
        QCOMPARE(files->item(0, 0)->text(), "001.mp3");
        QCOMPARE(files->item(0, 2)->text(), "to write");
        QCOMPARE(files->item(6, 0)->text(), "017.mp3");
        QCOMPARE(files->item(7, 0)->text(), "._017.mp3");
        QCOMPARE(files->item(7, 2)->text(), "left by another system: deleted when asked");
        bool namesTheFileSystem = false;
        for (const QLabel* label : plan.findChildren<QLabel*>()) {
          namesTheFileSystem |= label->text().contains(" free, blocks of ");
        }
        QVERIFY(namesTheFileSystem);
        auto* deleting = plan.findChild<QCheckBox*>("DeleteStale");
        QVERIFY(deleting->text().contains("files that other systems left"));
        deleting->setChecked(true);
      }();
      return true;
    });
    MessageBoxCloser boxes;
    t.Find<QToolButton>("CopyToCard")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.Texts().isEmpty(), 20000);
    const QString result = boxes.Texts().first();
    QVERIFY2(reviewed, qPrintable(result));
    QCOMPARE(asked, QStringList{"Copy to Card"});
    QVERIFY2(result.startsWith("Card verified: 6 files, "), qPrintable(result));
    QVERIFY(!QFile::exists(card + "/017.mp3"));
    QVERIFY(!QFile::exists(card + "/._017.mp3"));
    QCOMPARE(QDir(card).entryList(QDir::Files | QDir::Hidden).size(), 6);

    t.window->widgets().CompareWithCard->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(t.window->findChild<QDialog*>("CardCompare"), 20000);
    auto* compare = t.window->findChild<CardCompareDialog*>("CardCompare");
    QCOMPARE(compare->Files()->rowCount(), 6);
    QCOMPARE(compare->Differences()->count(), 0);
    QCOMPARE(t.Find<QLabel>("StatusBar1Line")->text(), "Compare: 6 same");

    // The card as another project, after an edit in the window: the edit is the difference.
    t.window->editor().SetDeviceId("12");
    t.window->SetFolderChooser([&](const QString& title) {
      asked << title;
      return card;
    });
    t.window->widgets().CompareWithProject->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(t.window->findChild<QDialog*>("ProjectCompare"), 20000);
    auto* other = t.window->findChild<ProjectCompareDialog*>("ProjectCompare");
    QCOMPARE(asked.last(), "Compare with Project");
    QCOMPARE(other->Differences()->count(), 1);
    QCOMPARE(other->Differences()->item(0)->text(), "Device ID: 12 -> 1");
  }

  // The card changes while the plan is looked over (another copy, another card): nothing is
  // written, and the result says why.
  void aCardChangedUnderThePlanIsNotCopied() {
    WindowUnderTest t;
    QVERIFY(QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/mpeg1-stereo-cbr.mp3"),
                        t.folder.Path("001.mp3")));
    t.WriteProject({1}, PlayListBytes().Saved().Slot(0, {1}));
    QTemporaryDir card;
    t.Open();
    QVERIFY(t.Show());
    t.Find<QToolButton>("SpeedButton9")->click();
    t.window->SetCardChooser([&](const QString&) { return card.path(); });
    t.window->SetPlanReview([&](CardPlanDialog&) {
      QFile other(card.filePath("001.mp3"));
      return other.open(QIODevice::WriteOnly) && other.write("another project's clip") > 0;
    });
    MessageBoxCloser boxes;
    t.Find<QToolButton>("CopyToCard")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!boxes.Texts().isEmpty(), 20000);
    QVERIFY2(boxes.Texts().first().startsWith("Copy failed: the card changed after the plan"),
             qPrintable(boxes.Texts().first()));
    QCOMPARE(QDir(card.path()).entryList(QDir::Files), QStringList{"001.mp3"});
  }

  void checkErrorsMakeItCopyAnyway() {
    WindowUnderTest t;
    QVERIFY(
        QFile::copy(QStringLiteral(PWX_CLIP_FIXTURES "/wave-named.mp3"), t.folder.Path("001.mp3")));
    t.WriteProject({1}, PlayListBytes().Saved().Slot(0, {1}));
    QTemporaryDir card;
    t.Open();
    QVERIFY(t.Show());
    t.Find<QToolButton>("SpeedButton9")->click();
    t.window->SetCardChooser([&](const QString&) { return card.path(); });
    QString button;
    t.window->SetPlanReview([&](CardPlanDialog& plan) {
      button = plan.CopyButton()->text();
      return false;
    });
    t.Find<QToolButton>("CopyToCard")->click();
    QTRY_COMPARE_WITH_TIMEOUT(button, QStringLiteral("Copy anyway"), 20000);
    QVERIFY(QDir(card.path()).isEmpty());  // Cancel on the plan writes nothing
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::CopyToCardJourneyTest)
#include "CopyToCardJourneyTest.moc"
