#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "WindowTestSupport.h"
#include "app/QtText.h"
#include "app/SlotRow.h"
#include "project/RecentProjects.h"

namespace pwx::apptest {

namespace {

const QString kTitle = QStringLiteral("PWX36 Editor V1.00 (20200103)");

void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

}  // namespace

// The habits of a desktop editor through the real widgets: undo and redo, the projects
// opened last, which project is open, finding the import, a passing save message, a light
// window on a dark desktop.
class HabitsJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void ctrlZUndoesAStepNamedInTheTooltipAndCtrlYRedoesIt() {
    WindowUnderTest t;
    t.WriteProject({1, 2}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
    auto* undo = t.Find<QToolButton>("Undo");
    QVERIFY(!undo->isEnabled());

    t.window->widgets().Rows[1]->Clips[0]->setCurrentIndex(2);  // a pick: one step
    QLineEdit* repeat = t.window->widgets().Rows[0]->Repeat;
    const QString first = repeat->text();
    repeat->setFocus();
    Type(repeat, "12");  // two keys, one step
    QCOMPARE(t.window->windowTitle(), "*" + kTitle);
    QVERIFY2(undo->toolTip().startsWith("Undo DI1 Repeat: "), qPrintable(undo->toolTip()));

    // In the text field the keys still undo the record's steps, not its letters.
    QTest::keyClick(repeat, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(repeat->text(), first);
    QVERIFY2(undo->toolTip().startsWith("Undo DI2 #1: "), qPrintable(undo->toolTip()));
    QTest::keyClick(repeat, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(t.window->windowTitle(), kTitle);  // back at the saved state
    QVERIFY(!undo->isEnabled());
    QTest::keyClick(repeat, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(repeat, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(repeat->text(), "12");
    QCOMPARE(t.window->windowTitle(), "*" + kTitle);
  }

  void recentProjectsListTheFoldersOpenedLastAndGreyTheMissing() {
    WindowUnderTest t;
    QVERIFY(QDir(t.folder.Path()).mkpath("Hall A"));
    const std::string hall = NativePath(t.folder.Path("Hall A/"));
    const std::string gone = NativePath(t.folder.Path("gone/"));
    t.host.preferences[kRecentProjectsPreference] = FormatRecentProjects({gone, hall});
    t.Open();
    QVERIFY(t.Show());
    QMenu* menu = t.window->widgets().RecentProjects;
    emit menu->aboutToShow();
    const QList<QAction*> entries = menu->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->text(), Text(gone) + " (not found)");
    QVERIFY(!entries[0]->isEnabled());
    QCOMPARE(entries[1]->text(), Text(hall));
    QVERIFY(entries[1]->isEnabled());

    entries[1]->trigger();  // no folder dialog: none is scripted, it would be cancelled
    QCOMPARE(t.Core().Dirs().Work_DIR, hall);
    QCOMPARE(t.window->windowTitle(), kTitle + QStringLiteral(" \u2013 Hall A"));
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().first()->text(), Text(hall));  // the newest first
  }

  void aLongProjectPathIsShortenedInItsMiddleAndWholeInTheTooltip() {
    WindowUnderTest t;
    const QString deep =
        QStringLiteral("sites/north wing with a long name/building seven/floor three/Hall A");
    QVERIFY(QDir(t.folder.Path()).mkpath(deep));
    t.host.folderAnswers.push_back(NativePath(t.folder.Path(deep)));
    t.Open();
    QVERIFY(t.Show());
    t.Find<QToolButton>("SpeedButton7")->click();
    auto* label = t.Find<QLabel>("Label115");
    const QString full = Text(t.Core().ProjectDirLabel());
    QVERIFY(full.endsWith("Hall A/"));
    QCOMPARE(label->toolTip(), full);
    QVERIFY2(label->text().contains(QStringLiteral("…/")), qPrintable(label->text()));
    QVERIFY(label->text().endsWith("Hall A/"));
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->width());
  }

  void theImportCanBeFoundByButtonEnterAndHint() {
    WindowUnderTest t;
    QVERIFY(t.folder.Write("bell.mp3", TestMp3("bell")));
    QVERIFY(t.folder.Write("horn.mp3", TestMp3("horn")));
    t.Open();
    QVERIFY(t.Show());
    auto* hint = t.Find<QLabel>("GridHint");
    QVERIFY(hint->isVisibleTo(t.window.get()));
    QCOMPARE(hint->text(),
             "Double-click a row, press Enter or drop sound files here to import a clip");

    t.host.fileAnswers.push_back(NativePath(t.folder.Path("bell.mp3")));
    t.Find<QToolButton>("ImportClip")->click();
    QVERIFY(t.Core().Project().Library.Entry(1).Occupied());
    QVERIFY(!hint->isVisibleTo(t.window.get()));

    // Enter on the occupied row asks; No keeps the clip.
    t.host.fileAnswers.push_back(NativePath(t.folder.Path("horn.mp3")));
    t.host.yesNoAnswers.push_back(false);
    QTest::keyClick(t.window->widgets().StringGrid1, Qt::Key_Return);
    QCOMPARE(t.host.questions.size(), std::size_t{1});
    QVERIFY(Text(t.Core().Project().Library.Entry(1).Short_FN).contains("bell"));
  }

  void aSaveSaysWhatItWroteForAFewSeconds() {
    WindowUnderTest t;
    t.WriteProject({1}, PlayListBytes());
    t.Open();
    QVERIFY(t.Show());
    t.Find<QToolButton>("SpeedButton9")->click();
    auto* status = t.Find<QLabel>("StatusBar1Line");
    QVERIFY2(
        status->text().startsWith("Saved: plist.cfg, m3fn.txt, rtu.cfg, vol.cfg, Err1.mp3 in "),
        qPrintable(status->text()));
    QTRY_VERIFY_WITH_TIMEOUT(status->text().isEmpty(), 8000);
  }

  void aDarkDesktopLeavesTheWindowLightAndReadable() {
    const QPalette before = QApplication::palette();
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
      dark.setColor(role, QColor(40, 40, 40));
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
      dark.setColor(role, QColor(230, 230, 230));
    }
    QApplication::setPalette(dark);
    {
      WindowUnderTest t;
      t.WriteProject({1}, PlayListBytes());
      t.Open();
      QVERIFY(t.Show());
      for (const char* name : {"RadioButton1", "RadioButton2"}) {
        const QPalette colours = t.Find<QRadioButton>(name)->palette();
        QVERIFY2(colours.color(QPalette::WindowText).lightness() < 100, name);
        QVERIFY2(colours.color(QPalette::Window).lightness() > 180, name);
      }
      const QPalette edit = t.Find<QLineEdit>("Edit19")->palette();
      QVERIFY(edit.color(QPalette::Base).lightness() > 180);
      QVERIFY(edit.color(QPalette::Text).lightness() < 100);
    }
    QApplication::setPalette(before);
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::HabitsJourneyTest)
#include "HabitsJourneyTest.moc"
