// The calculator window as a user meets it: its start state, the conversions
// through the real widgets, the keyboard, the layout and its scaling.
#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "calculator_check_values.h"
#include "shown_form_test.h"
#include "tform1.h"
#include "ui_test_main.h"

using normcalc::TForm1;

namespace {

// The control table of the window at 96 pixels per inch for a form font whose
// "0" is 12 pixels high.
struct DesignedControl {
  const char* name;
  int left, top, width, height;
};
constexpr DesignedControl kDesignedControls[] = {
    {"Button1", 24, 48, 89, 33}, {"RadioGroup1", 224, 48, 121, 49}, {"Edit1", 56, 120, 89, 20},
    {"Edit2", 192, 120, 89, 20}, {"Button2", 128, 48, 81, 33},
};
constexpr DesignedControl kDesignedLabels[] = {
    {"Label1", 48, 88, 119, 24},
    {"Label2", 24, 120, 26, 21},
    {"Label3", 24, 16, 231, 24},
    {"Label4", 160, 120, 26, 21},
};
constexpr int kDesignedTextHeight = 12;

// What the window is on a screen whose density Qt leaves to it (its logical
// pixels per inch): the outer bounds, the 96-dpi ones scaled by dpi/96 and
// rounded half up, and the form font's pixel height, 12 scaled likewise.
// Under Qt's own scaling the window sees 96.
struct ScreenCase {
  int pixelsPerInch;
  QRect outer;
  int formFontHeight;
};
constexpr ScreenCase kScreens[] = {
    {96, {218, 192, 397, 231}, 12},
    {120, {273, 240, 496, 289}, 15},
    {144, {327, 288, 596, 347}, 18},
};

// value * measured / 12, rounded half up: the scale of the description, in
// exact integer arithmetic.
int Scaled(int value, int measured) {
  return (2 * value * measured + kDesignedTextHeight) / (2 * kDesignedTextHeight);
}

QRect ScaledRect(const DesignedControl& c, int measured) {
  const int left = Scaled(c.left, measured);
  const int top = Scaled(c.top, measured);
  return {left, top, Scaled(c.left + c.width, measured) - left,
          Scaled(c.top + c.height, measured) - top};
}

}  // namespace

class WindowTest : public ShownFormTest {
  Q_OBJECT

 private:
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(form_->windowHandle(), key, modifiers);
  }
  void Type(const QString& text) {
    for (const QChar c : text) QTest::keyClick(form_->windowHandle(), c.toLatin1());
  }
  QWidget* Focused() const { return QApplication::focusWidget(); }
  const ScreenCase& Screen() const {
    for (const ScreenCase& screen : kScreens) {
      if (screen.pixelsPerInch == form_->logicalDpiY()) return screen;
    }
    qFatal("no expectations for %d pixels per inch", form_->logicalDpiY());
  }

 private slots:
  void StartsWithXToPSelectedBothBoxesEmptyAndFocusOnExit() {
    QCOMPARE(form_->windowTitle(), QString("Form1"));
    QCOMPARE(form_->RadioGroup1->ItemIndex(), 0);
    QCOMPARE(form_->RadioGroup1->Items(), QStringList({"X→P", "P→X"}));
    QCOMPARE(form_->RadioGroup1->title(), QString("MODE"));
    QCOMPARE(form_->Edit1->text(), QString());
    QCOMPARE(form_->Edit2->text(), QString());
    QCOMPARE(Focused(), form_->Button1);
    QVERIFY(form_->Button1->isDefault());  // the focused button is drawn as the default one
    QCOMPARE(form_->Button1->text(), QString("EXIT"));
    QCOMPARE(form_->Button2->text(), QString("EXECUTE"));
    QCOMPARE(form_->Label1->text(), QString("f(0<x<X)=P"));
    QCOMPARE(form_->Label2->text(), QString("X="));
    QCOMPARE(form_->Label3->text(), QString("標準正規分布N(0,1)\u3000"));
    QCOMPARE(form_->Label4->text(), QString("P="));
  }

  // What a screen reader announces for each control: its role and its name.
  // The real program on the accessibility bus is checked by run_as_user.
  void ControlsAreNamedAsAUserNamesThem() {
    const struct {
      QWidget* control;
      QAccessible::Role role;
      const char* name;
    } cases[] = {
        {form_.get(), QAccessible::Window, "Form1"},
        {form_->Button1, QAccessible::Button, "EXIT"},
        {form_->Button2, QAccessible::Button, "EXECUTE"},
        {form_->RadioGroup1, QAccessible::Grouping, "MODE"},
        {form_->RadioGroup1->Item(0), QAccessible::RadioButton, "X→P"},
        {form_->RadioGroup1->Item(1), QAccessible::RadioButton, "P→X"},
        {form_->Edit1, QAccessible::EditableText, "X="},
        {form_->Edit2, QAccessible::EditableText, "P="},
    };
    for (const auto& c : cases) {
      const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(c.control);
      QVERIFY2(accessible != nullptr, c.name);
      QCOMPARE(accessible->role(), c.role);
      QCOMPARE(accessible->text(QAccessible::Name), QString(c.name));
    }
  }

  void OpensAtItsDescribedPlaceAndOuterSize() {
    // The offscreen platform draws no frame: the outer size is the window's.
    QCOMPARE(form_->frameGeometry(), Screen().outer);
    QVERIFY(!QApplication::windowIcon().isNull());
    QCOMPARE(QApplication::windowIcon().availableSizes().value(0), QSize(32, 32));
  }

  void ExecuteConvertsThroughTheWidgets_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    // The check values of the calculator, written under a "." locale.
    for (const normcalc::test::CheckValue& c : normcalc::test::kCalculatorCheckValues) {
      QTest::addRow("%s=%s", c.itemIndex == normcalc::test::kXToPIndex ? "X" : "P", c.typed)
          << c.itemIndex << QString(c.typed) << QString(c.written);
    }
  }
  void ExecuteConvertsThroughTheWidgets() {
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QRadioButton* item = form_->RadioGroup1->Item(mode);
    QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(6, item->height() / 2));
    QCOMPARE(form_->RadioGroup1->ItemIndex(), mode);
    QLineEdit* read = mode == 0 ? form_->Edit1 : form_->Edit2;
    QLineEdit* other = mode == 0 ? form_->Edit2 : form_->Edit1;
    other->setText("previous");
    QTest::mouseClick(read, Qt::LeftButton);
    Type(typed);
    QTest::mouseClick(form_->Button2, Qt::LeftButton);
    QCOMPARE(other->text(), written);
    QCOMPARE(read->text(), typed);
    // Again, with the same mode: the same text.
    QTest::mouseClick(form_->Button2, Qt::LeftButton);
    QCOMPARE(other->text(), written);
  }

  void SwitchingTheModeChangesNeitherBox() {
    form_->Edit1->setText("1");
    form_->Edit2->setText("0.25");
    form_->RadioGroup1->Item(1)->click();
    form_->RadioGroup1->Item(0)->click();
    QCOMPARE(form_->RadioGroup1->ItemIndex(), 0);
    QCOMPARE(form_->Edit1->text(), QString("1"));
    QCOMPARE(form_->Edit2->text(), QString("0.25"));
  }

  void RadioGroupItemIndexCanBeNone() {
    form_->RadioGroup1->SetItemIndex(-1);
    QCOMPARE(form_->RadioGroup1->ItemIndex(), -1);
    QVERIFY(!form_->RadioGroup1->Item(0)->isChecked());
    QVERIFY(!form_->RadioGroup1->Item(1)->isChecked());
    // With no selection Execute goes from P to X.
    form_->Edit2->setText("0.25");
    form_->Button2->click();
    QCOMPARE(form_->Edit1->text(), QString("0.674491219192245"));
    form_->RadioGroup1->SetItemIndex(1);
    QCOMPARE(form_->RadioGroup1->ItemIndex(), 1);
  }

  void TabCyclesExitModeEdit1Edit2Execute_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("X->P selected") << 0;
    QTest::newRow("P->X selected") << 1;
  }
  void TabCyclesExitModeEdit1Edit2Execute() {
    QFETCH(int, mode);
    form_->RadioGroup1->SetItemIndex(mode);
    form_->Button1->setFocus();
    // The group is one stop, on its selected item.
    const QList<QWidget*> cycle = {form_->RadioGroup1->Item(mode), form_->Edit1, form_->Edit2,
                                   form_->Button2, form_->Button1};
    for (QWidget* expected : cycle) {
      Key(Qt::Key_Tab);
      QCOMPARE(Focused(), expected);
    }
    for (qsizetype i = cycle.size() - 2; i >= 0; --i) {
      Key(Qt::Key_Backtab, Qt::ShiftModifier);
      QCOMPARE(Focused(), cycle[i]);
    }
  }

  void ArrowKeysMoveTheSelectionWithinTheGroup() {
    form_->Button1->setFocus();
    Key(Qt::Key_Tab);
    Key(Qt::Key_Down);
    QCOMPARE(form_->RadioGroup1->ItemIndex(), 1);
    QCOMPARE(Focused(), form_->RadioGroup1->Item(1));
    Key(Qt::Key_Up);
    QCOMPARE(form_->RadioGroup1->ItemIndex(), 0);
  }

  // What a key does with the focus on a control. EXECUTE and EXIT are clicked
  // by a plain Enter (the keypad's included) and by Space when they have the
  // focus; Enter with Shift, Ctrl or Alt, Enter anywhere but on a button, and
  // Esc anywhere click nothing.
  void KeysClickOnlyTheFocusedButton_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("clicks");
    const int none = Qt::NoModifier;
    const int keypad = Qt::KeypadModifier;
    for (const char* button : {"Button1", "Button2"}) {
      const QByteArray on = QByteArray(" on ") + button;
      const auto row = [&](const char* what) -> QTestData& {
        return QTest::newRow((what + on).constData());
      };
      row("Return") << button << int(Qt::Key_Return) << none << true;
      row("keypad Enter") << button << int(Qt::Key_Enter) << keypad << true;
      row("Space") << button << int(Qt::Key_Space) << none << true;
      row("Shift+Return") << button << int(Qt::Key_Return) << int(Qt::ShiftModifier) << false;
      row("Ctrl+Return") << button << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
      row("Alt+Return") << button << int(Qt::Key_Return) << int(Qt::AltModifier) << false;
      row("Shift+keypad Enter") << button << int(Qt::Key_Enter) << int(Qt::ShiftModifier | keypad)
                                << false;
      row("Ctrl+keypad Enter") << button << int(Qt::Key_Enter) << int(Qt::ControlModifier | keypad)
                               << false;
      row("Alt+keypad Enter") << button << int(Qt::Key_Enter) << int(Qt::AltModifier | keypad)
                              << false;
      row("Ctrl+Shift+Return") << button << int(Qt::Key_Return)
                               << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
      row("Esc") << button << int(Qt::Key_Escape) << none << false;
    }
    QTest::newRow("Return in Edit1") << "Edit1" << int(Qt::Key_Return) << none << false;
    QTest::newRow("keypad Enter in Edit2") << "Edit2" << int(Qt::Key_Enter) << keypad << false;
    QTest::newRow("Return on the group") << "RadioGroup1" << int(Qt::Key_Return) << none << false;
    QTest::newRow("Esc in Edit1") << "Edit1" << int(Qt::Key_Escape) << none << false;
  }
  void KeysClickOnlyTheFocusedButton() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, clicks);
    form_->Edit1->setText("1");
    QWidget* target = form_->findChild<QWidget*>(focus);
    if (target == form_->RadioGroup1) target = form_->RadioGroup1->Item(0);
    target->setFocus();
    QCOMPARE(Focused(), target);
    // Only a focused push button is the active one, drawn as the default.
    QCOMPARE(form_->Button1->isDefault(), target == form_->Button1);
    QCOMPARE(form_->Button2->isDefault(), target == form_->Button2);
    QSignalSpy exits(form_->Button1, &QPushButton::clicked);
    QSignalSpy executes(form_->Button2, &QPushButton::clicked);

    Key(static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));

    const bool exitClicked = clicks && target == form_->Button1;
    const bool executeClicked = clicks && target == form_->Button2;
    QCOMPARE(exits.count(), exitClicked ? 1 : 0);
    QCOMPARE(executes.count(), executeClicked ? 1 : 0);
    QCOMPARE(form_->isVisible(), !exitClicked);  // EXIT closes the window
    QCOMPARE(form_->Edit2->text(), executeClicked ? QString("0.341344279839592") : QString());
    QCOMPARE(form_->Edit1->text(), QString("1"));
  }

  void EnterAfterAClickOnExecuteRepeatsIt() {
    form_->Edit1->setText("1");
    QTest::mouseClick(form_->Button2, Qt::LeftButton);
    QCOMPARE(Focused(), form_->Button2);
    QVERIFY(form_->Button2->isDefault());
    QVERIFY(!form_->Button1->isDefault());
    form_->Edit2->clear();
    Key(Qt::Key_Return);
    QCOMPARE(form_->Edit2->text(), QString("0.341344279839592"));
  }

  void ControlsSitAtTheirScaledPlaces() {
    // The scale is the height of "0" in the form's font against the 12 pixels
    // it was designed for.
    const int measured = QFontMetrics(form_->font()).size(Qt::TextSingleLine, "0").height();
    QCOMPARE(form_->MeasuredTextHeight(), measured);
    QCOMPARE(form_->font().pixelSize(), Screen().formFontHeight);
    for (const DesignedControl& c : kDesignedControls) {
      const auto* control = form_->ClientArea->findChild<QWidget*>(c.name);
      QVERIFY2(control != nullptr, c.name);
      QCOMPARE(control->geometry(), ScaledRect(c, measured));
    }
    // Labels keep their scaled top-left corner and take the size of their text.
    for (const DesignedControl& c : kDesignedLabels) {
      const auto* label = form_->ClientArea->findChild<QLabel*>(c.name);
      QVERIFY2(label != nullptr, c.name);
      QCOMPARE(label->pos(), ScaledRect(c, measured).topLeft());
      QCOMPARE(label->size(), label->sizeHint());
      QCOMPARE(label->font().pixelSize(), Scaled(c.height, measured));
      QVERIFY(label->font().bold());
    }
    QVERIFY(form_->Label3->font().italic());
  }

  void DescribedFaceFallsBackToAJapaneseFace() {
    QCOMPARE(form_->font().family(), QString("ＭＳ Ｐゴシック"));
    const QString drawn = QFontInfo(form_->font()).family();
    QVERIFY2(drawn == "IPAPGothic" || QFontMetrics(form_->font()).inFont(QChar(0x6A19)),
             qPrintable(drawn));
  }

  // The items lie inside the group's frame, below the caption's line and
  // apart from each other, tall enough for their text: the caption once
  // overlapped the first item.
  void RadioItemsSitInsideTheGroupBelowItsCaption() {
    const normcalc::TRadioGroup* group = form_->RadioGroup1;
    const int captionBottom = QFontMetrics(group->font()).height();
    const QRect first = group->Item(0)->geometry();
    const QRect second = group->Item(1)->geometry();
    for (const QRect& item : {first, second}) {
      QVERIFY2(group->rect().contains(item), qPrintable(QString("%1,%2 %3x%4")
                                                            .arg(item.x())
                                                            .arg(item.y())
                                                            .arg(item.width())
                                                            .arg(item.height())));
      QVERIFY(item.top() >= captionBottom);
      QVERIFY(item.height() >= QFontMetrics(group->font()).height());
    }
    QVERIFY(first.bottom() < second.top());
  }

  void ResizingLeavesEveryControlInPlaceAndScrollsWhenTooSmall() {
    QList<QRect> before;
    const auto controls = form_->ClientArea->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* control : controls) before.append(control->geometry());
    for (const QSize size : {QSize(800, 600), QSize(150, 80), Screen().outer.size()}) {
      form_->resize(size);
      QCoreApplication::processEvents();
      for (qsizetype i = 0; i < controls.size(); ++i) {
        QCOMPARE(controls[i]->geometry(), before[i]);
      }
      const bool tooSmall = size.width() < 300;
      QCOMPARE(form_->horizontalScrollBar()->isVisible(), tooSmall);
      QCOMPARE(form_->verticalScrollBar()->isVisible(), tooSmall);
    }
  }
};

NORMCALC_UI_TEST_MAIN(WindowTest)
#include "window_test.moc"
