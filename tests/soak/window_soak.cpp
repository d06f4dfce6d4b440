// The built window under a long run of clicks: 10^4 EXECUTE clicks on the real
// TForm1, in the real application shell, with random modes and texts, the
// overflow and NaN paths among them (their error boxes are closed with "OK" as
// a user would). Every click is checked against the core's own Execute on a
// plain form model, every error box against the message it must show, and the
// process's resident memory is printed at 10^3 and at 10^4 clicks.
//
// It runs in-process on Qt's offscreen platform (or under Xvfb when
// QT_QPA_PLATFORM=xcb), so that a click is a call on the button rather than a
// round trip through an X server: the whole run takes seconds, and memory is
// read from /proc/self/status of the very process that holds the window.
//   window_soak [clicks]    default 10000; exits 1 on the first wrong box

#include <QApplication>
#include <QLineEdit>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "error_box_probe.h"
#include "normcalc/core.h"
#include "offscreen_platform.h"
#include "tapplication.h"
#include "tform1.h"
#include "tradio_group.h"

namespace {

constexpr int kDefaultClicks = 10000;
constexpr int kFirstReport = 1000;

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = -1;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      break;
    }
    status.ignore(1 << 12, '\n');
  }
  return value;
}

// Texts a user might type or paste: plain values in and beyond both ranges,
// tiny and huge exponents, junk, and the inputs that fail.
std::string RandomText(std::mt19937_64& random) {
  static const char* const kFixed[] = {"",       "abc",  "+NAN",  "-NAN",     "2e4932", "-2e4932",
                                       "1e400",  "-INF", "+INF",  "1,5",      "0x1A",   " \t0.5",
                                       "1e-400", ".",    "0.475", "1.19e4932"};
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  char text[64];
  switch (kind(random)) {
    case 0:
    case 1:
      return kFixed[random() % std::size(kFixed)];
    case 2:
      std::snprintf(text, sizeof text, "%.*fe%d", static_cast<int>(random() % 18),
                    unit(random) * 10, static_cast<int>(random() % 80) - 60);
      return text;
    case 3:
      std::snprintf(text, sizeof text, "%.*f", static_cast<int>(random() % 18),
                    unit(random) * 0.52 - 0.01);
      return text;
    default:
      std::snprintf(text, sizeof text, "%.*f", static_cast<int>(random() % 18),
                    unit(random) * 4.5 - 0.2);
      return text;
  }
}

}  // namespace

int main(int argc, char** argv) {
  normcalc::testing::UseOffscreenPlatformUnlessNamed();
  normcalc::TApplication application(argc, argv);
  const int clicks = argc > 1 ? std::atoi(argv[1]) : kDefaultClicks;
  normcalc::TForm1 form;
  form.show();
  normcalc::SetLocaleDecimalMark('.');

  int boxes = 0;
  std::mt19937_64 random(20240615);
  long residentAtFirstReport = 0;
  int failures = 0;
  for (int click = 1; click <= clicks; ++click) {
    const int mode = static_cast<int>(random() % 2);
    form.RadioGroup1->SetItemIndex(mode);
    const std::string typed = RandomText(random);
    (mode == 0 ? form.Edit1 : form.Edit2)->setText(QString::fromStdString(typed));

    // What the core's Execute makes of the same state.
    normcalc::MemoryForm expected;
    expected.itemIndex = mode;
    expected.edit1 = form.Edit1Text();
    expected.edit2 = form.Edit2Text();
    QString expectedBox;
    try {
      normcalc::Button2Click(expected);
    } catch (const normcalc::Exception& error) {
      expectedBox = QString::fromStdString(normcalc::ErrorBoxText(error.Message()));
    }

    // An error box is closed with its "OK" button, as a user would.
    const ShownErrorBox box = RunClosingErrorBoxes([&] {
      form.Button2->click();
      QApplication::processEvents();
    });
    boxes += box.count;

    const bool boxRight =
        expectedBox.isEmpty() ? box.count == 0 : box.count == 1 && box.text == expectedBox;
    if (form.Edit1Text() != expected.edit1 || form.Edit2Text() != expected.edit2 || !boxRight) {
      std::fprintf(
          stderr,
          "click %d, mode %d, typed \"%s\": boxes \"%s\" \"%s\", expected \"%s\" \"%s\"%s\n", click,
          mode, typed.c_str(), form.Edit1Text().c_str(), form.Edit2Text().c_str(),
          expected.edit1.c_str(), expected.edit2.c_str(),
          boxRight ? "" : "; the error box was not the expected one");
      if (++failures == 10) break;
    }
    if (click == kFirstReport) {
      residentAtFirstReport = ResidentKiB();
      std::printf("after %d clicks: VmRSS %ld KiB\n", click, residentAtFirstReport);
    }
  }
  const long residentAtEnd = ResidentKiB();
  std::printf("after %d clicks: VmRSS %ld KiB; %d error boxes shown and closed\n", clicks,
              residentAtEnd, boxes);
  // Flat: the 9000 clicks after the first 1000 may not add a tenth to the
  // memory the window held then (a leak of a few hundred bytes a click would).
  if (residentAtFirstReport > 0 && residentAtEnd > residentAtFirstReport * 11 / 10) {
    std::fprintf(stderr, "resident memory grew from %ld to %ld KiB\n", residentAtFirstReport,
                 residentAtEnd);
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}
