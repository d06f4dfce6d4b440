// The application shell: the error box for every failure of an event handler,
// the failures at start-up, the title rule, closing, and the settings refresh.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "error_box_probe.h"
#include "event_guard.h"
#include "main_routine.h"
#include "normcalc/numtext.h"
#include "offscreen_platform.h"
#include "shown_form_test.h"
#include "tform1.h"

using normcalc::TApplication;
using normcalc::TForm1;

namespace {

// The copy of this program started under another name prints the caption of
// an error box it opens, and ends.
constexpr const char* kPrintCaptionArgument = "--print-error-box-caption";

// Forms whose construction fails, for the start-up failures.
struct OverflowingForm : QWidget {
  OverflowingForm() { throw normcalc::EOverflow(); }
};
struct ForeignFailingForm : QWidget {
  ForeignFailingForm() { throw std::runtime_error("not of the family"); }
};

TApplication& Application() { return *TApplication::Instance(); }

}  // namespace

class ShellTest : public ShownFormTest {
  Q_OBJECT

 private:
  void Execute() { QTest::mouseClick(form_->Button2, Qt::LeftButton); }

 private slots:
  void FailingExecuteShowsTheErrorBoxAndTheOtherBoxKeepsItsText_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("X beyond the extended range") << 0 << "2e4932"
                                                 << "浮動小数点数のオーバーフロー.";
    QTest::newRow("P beyond the extended range") << 1 << "2e4932"
                                                 << "浮動小数点数のオーバーフロー.";
    QTest::newRow("X is +NAN") << 0 << "+NAN"
                               << "不正な浮動小数点数演算命令.";
    QTest::newRow("P is -NAN") << 1 << "-NAN"
                               << "不正な浮動小数点数演算命令.";
  }
  void FailingExecuteShowsTheErrorBoxAndTheOtherBoxKeepsItsText() {
    QFETCH(int, mode);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    form_->RadioGroup1->SetItemIndex(mode);
    QLineEdit* read = mode == 0 ? form_->Edit1 : form_->Edit2;
    QLineEdit* other = mode == 0 ? form_->Edit2 : form_->Edit1;
    read->setText(typed);
    other->setText("kept");

    const ShownErrorBox box = RunClosingErrorBoxes([&] { Execute(); });
    QCOMPARE(box.count, 1);
    QCOMPARE(box.text, message);
    QCOMPARE(box.caption, Application().ApplicationTitle());
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.buttons, QStringList{"OK"});
    QCOMPARE(box.modality, Qt::ApplicationModal);
    // Centred on the screen, up to the rounding of halves.
    QVERIFY(qAbs(box.frame.center().x() - box.screen.center().x()) <= 2);
    QVERIFY(qAbs(box.frame.center().y() - box.screen.center().y()) <= 2);
    QCOMPARE(other->text(), QString("kept"));
    QCOMPARE(read->text(), typed);

    // The window is the active one again, and Execute runs from its first step.
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    form_->RadioGroup1->SetItemIndex(0);
    form_->Edit1->setText("1");
    Execute();
    QCOMPARE(form_->Edit2->text(), QString("0.341344279839592"));
  }

  void ClicksOnTheWindowDoNothingWhileTheBoxIsOpen() {
    form_->Edit1->setText("+NAN");
    form_->Edit2->setText("kept");
    int clicksSeen = 0;
    const ShownErrorBox box =
        RunClosingErrorBoxes([&] { Execute(); },
                             [&] {
                               form_->Edit1->setText("1");
                               // Through the window, as the window system delivers a click.
                               const QPoint button = form_->Button2->rect().center();
                               QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {},
                                                 form_->Button2->mapTo(form_.get(), button));
                               ++clicksSeen;
                             });
    QCOMPARE(box.count, 1);
    QCOMPARE(clicksSeen, 1);
    QCOMPARE(form_->Edit2->text(), QString("kept"));
  }

  void EveryFailureOfAHandlerIsReportedAndEAbortIsSilent_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QString>("text");
    QTest::newRow("message gets the period") << 0 << 1 << "abc?.";
    QTest::newRow("EAbort") << 1 << 0 << "";
    QTest::newRow("outside the family") << 2 << 1 << "";
  }
  void EveryFailureOfAHandlerIsReportedAndEAbortIsSilent() {
    QFETCH(int, kind);
    QFETCH(int, boxes);
    QFETCH(QString, text);
    const ShownErrorBox box = RunClosingErrorBoxes([&] {
      normcalc::GuardEvent([kind] {
        if (kind == 0) throw normcalc::Exception("abc?");
        if (kind == 1) throw normcalc::EAbort();
        throw std::runtime_error("not of the family");
      });
    });
    QCOMPARE(box.count, boxes);
    QCOMPARE(box.text, text);
  }

  void FailureWhileCreatingTheMainFormIsReportedAndTheResultIsZero_data() {
    QTest::addColumn<bool>("ofTheFamily");
    QTest::addColumn<QString>("text");
    QTest::newRow("EOverflow") << true << "浮動小数点数のオーバーフロー.";
    QTest::newRow("outside the family: empty box") << false << "";
  }
  void FailureWhileCreatingTheMainFormIsReportedAndTheResultIsZero() {
    QFETCH(bool, ofTheFamily);
    QFETCH(QString, text);
    int result = -1;
    const ShownErrorBox box = RunClosingErrorBoxes([&] {
      result = ofTheFamily ? normcalc::RunMainRoutine<OverflowingForm>(Application())
                           : normcalc::RunMainRoutine<ForeignFailingForm>(Application());
    });
    QCOMPARE(result, 0);
    QCOMPARE(box.count, 1);
    QCOMPARE(box.text, text);
    QCOMPARE(box.caption, Application().ApplicationTitle());
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(Application().MainForm() == nullptr);
  }

  // A copy of this very program named CALC.EXE shows "Calc" on its error box;
  // one named .hidden has an empty title, and so an empty caption.
  void CopyNamedCalcExeCaptionsItsErrorBoxCalc_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("caption");
    QTest::newRow("CALC.EXE") << "CALC.EXE"
                              << "Calc";
    QTest::newRow("calc.v2.exe") << "calc.v2.exe"
                                 << "calc";
    QTest::newRow(".hidden") << ".hidden"
                             << "";
  }
  void CopyNamedCalcExeCaptionsItsErrorBoxCalc() {
    QFETCH(QString, fileName);
    QFETCH(QString, caption);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString copy = folder.filePath(fileName);
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QProcess process;
    process.start(copy, {kPrintCaptionArgument});
    QVERIFY(process.waitForFinished(-1));
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), "[" + caption + "]\n");
  }

  void ClosingTheMainFormEndsTheEventLoop() {
    // Enter right after start-up clicks the focused EXIT, which closes the
    // main form; RunEventLoop then returns.
    TForm1* mainForm = &Application().CreateMainForm<TForm1>();
    QCOMPARE(Application().MainForm(), mainForm);
    QVERIFY(!mainForm->isVisible());  // created hidden
    QTimer::singleShot(0, mainForm, [mainForm] {
      QVERIFY(QTest::qWaitForWindowActive(mainForm));
      QTest::keyClick(mainForm->windowHandle(), Qt::Key_Return);
    });
    Application().RunEventLoop();
    QVERIFY(!mainForm->isVisible());
  }

  void LocaleChangeReadsTheDecimalMarkAgain() {
    normcalc::SetLocaleDecimalMark(',');
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(&Application(), &change);
    QCOMPARE(normcalc::LocaleDecimalMark(), '.');  // the test runs under LC_ALL=C
    form_->Edit1->setText("1");
    Execute();
    QCOMPARE(form_->Edit2->text(), QString("0.341344279839592"));
  }
};

int main(int argc, char** argv) {
  normcalc::testing::UseOffscreenPlatformUnlessNamed();
  TApplication application(argc, argv);
  if (argc == 2 && qstrcmp(argv[1], kPrintCaptionArgument) == 0) {
    const ShownErrorBox box =
        RunClosingErrorBoxes([&] { application.ReportError(normcalc::Exception("probe")); });
    std::printf("[%s]\n", box.caption.toUtf8().constData());
    return 0;
  }
  ShellTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "shell_test.moc"
