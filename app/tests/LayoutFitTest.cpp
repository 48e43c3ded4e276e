#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>

#include "WindowTestSupport.h"
#include "app/SlotRow.h"
#include "app/WindowStyle.h"

namespace pwx::apptest {

namespace {

QString Describe(const QWidget* widget) {
  QString text;
  if (const auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
  return QStringLiteral("%1 \"%2\" at (%3, %4) %5 wide")
      .arg(widget->objectName(), text)
      .arg(widget->x())
      .arg(widget->y())
      .arg(widget->width());
}

// The visible widgets of the window that show a text of their own.
QList<QWidget*> TextWidgets(const QWidget* window) {
  QList<QWidget*> found;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(window)) continue;
    const auto* label = qobject_cast<QLabel*>(widget);
    const auto* button = qobject_cast<QAbstractButton*>(widget);
    if ((label && !label->text().isEmpty()) || (button && !button->text().isEmpty())) {
      found << widget;
    }
  }
  return found;
}

// The width that a widget's text needs, and the room that the widget gives it.
std::pair<int, int> NeededAndRoom(const QWidget* widget) {
  const auto* check = qobject_cast<const QCheckBox*>(widget);
  const auto* radio = qobject_cast<const QRadioButton*>(widget);
  if (!check && !radio) return {widget->sizeHint().width(), widget->width()};
  // The style writes the text into the contents, right of the box or circle.
  const auto* button = static_cast<const QAbstractButton*>(widget);
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const QRect contents = widget->style()->subElementRect(
      check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, widget);
  return {button->fontMetrics().horizontalAdvance(button->text()), contents.width()};
}

}  // namespace

// The window's fixed layout with whatever face the font set offers: no text is cut and no
// two controls overlap. ctest runs it twice, the second time without the condensed faces.
class LayoutFitTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    const QFontInfo face(BaseFont());
    qInfo("window face: %s %s", qPrintable(face.family()), qPrintable(face.styleName()));
    if (qEnvironmentVariableIsSet("PWX_TEST_PLAIN_FACE")) {
      QVERIFY2(!face.family().contains(QLatin1String("Condensed")) &&
                   !face.styleName().contains(QLatin1String("Condensed")),
               "the font set still offers a condensed face");
    }
  }

  void textsFitAndNothingOverlaps_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("mode 0, four digital inputs") << 0;
    QTest::newRow("mode 7, fifteen binary inputs") << 7;
  }

  void textsFitAndNothingOverlaps() {
    QFETCH(int, mode);
    WindowUnderTest t;
    t.WriteProject({1, 2, 64}, PlayListBytes().Mode(mode));
    TForm1& window = t.Open();
    QVERIFY(t.Show());
    QCOMPARE(int(t.Core().Project().Mode.Value), mode);

    // Every finding is listed, so that one run shows all that a face breaks.
    QStringList problems;
    const QList<QWidget*> texts = TextWidgets(&window);
    QVERIFY(texts.size() > 20);
    for (const QWidget* widget : texts) {
      const auto [needed, room] = NeededAndRoom(widget);
      if (needed > room) {
        problems << Describe(widget) + QStringLiteral(" is cut: %1 of %2").arg(needed).arg(room);
      }
    }
    // Every control, text or not, keeps clear of its neighbours.
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
      if (!widget->isVisibleTo(&window) || widget->isWindow()) continue;
      const QObjectList& kin = widget->parent()->children();
      for (qsizetype i = kin.indexOf(widget) + 1; i < kin.size(); ++i) {
        const auto* sibling = qobject_cast<const QWidget*>(kin[i]);
        if (!sibling || !sibling->isVisibleTo(&window)) continue;
        if (sibling->isWindow() || !widget->geometry().intersects(sibling->geometry())) continue;
        problems << Describe(widget) + QStringLiteral(" overlaps ") + Describe(sibling);
      }
    }

    // The captions a row paints itself fit their places and keep clear of the row's controls.
    for (const SlotRow* row : window.widgets().Rows) {
      if (!row || !row->isVisibleTo(&window)) continue;
      const QFontMetrics metrics(row->font());
      for (const RowCaption& caption : SlotRow::Captions()) {
        const QString where = row->objectName() + QStringLiteral(" caption \"") + caption.Text;
        if (metrics.horizontalAdvance(caption.Text) > caption.Place.width()) {
          problems << where + QStringLiteral("\" is cut: %1 of %2")
                                  .arg(metrics.horizontalAdvance(caption.Text))
                                  .arg(caption.Place.width());
        }
        for (const QWidget* control : row->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
          if (control->geometry().intersects(caption.Place)) {
            problems << where + QStringLiteral("\" overlaps ") + Describe(control);
          }
        }
      }
    }

    int selectors = 0;
    for (const QComboBox* combo : window.findChildren<QComboBox*>()) {
      const auto* selector = dynamic_cast<const ClipSelector*>(combo);
      if (!selector || !selector->isVisibleTo(&window)) continue;
      ++selectors;
      QCOMPARE(selector->count(), 4);  // "None" and three clips
      const QFontMetrics metrics(selector->font());
      const int room = selector->TextField().width();
      for (int i = 0; i < selector->count(); ++i) {
        const QString item = selector->itemText(i);
        if (metrics.horizontalAdvance(item) <= room) continue;
        problems << QStringLiteral("%1 cuts \"%2\": %3 of %4")
                        .arg(selector->objectName(), item)
                        .arg(metrics.horizontalAdvance(item))
                        .arg(room);
      }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    QCOMPARE(selectors, (mode < 4 ? 4 : 15) * kClipsPerSlot);
  }
};

}  // namespace pwx::apptest

QTEST_MAIN(pwx::apptest::LayoutFitTest)
#include "LayoutFitTest.moc"
