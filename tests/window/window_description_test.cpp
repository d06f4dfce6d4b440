// What every window of the calculator takes from the core: the control table
// made from the form description, the creation-time scaling, the radio group's
// rows and the title rule. The expected values are the window's design as
// drawn, written out here independently of the description file.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "normcalc/core.h"

namespace normcalc {
namespace {

struct ExpectedControl {
  std::string_view name;
  TControlKind kind;
  int left, top, width, height;
  std::string_view text;
  int fontHeight;
  bool bold, italic;
  int tabOrder;
};

TEST(FormDescription, HoldsTheDesignedControlsInCreationOrder) {
  const ExpectedControl expected[] = {
      {"Label1", TControlKind::Label, 48, 88, 119, 24, "f(0<x<X)=P", 24, true, false, -1},
      {"Label2", TControlKind::Label, 24, 120, 26, 21, "X=", 21, true, false, -1},
      {"Label3", TControlKind::Label, 24, 16, 231, 24, "標準正規分布N(0,1)\u3000", 24, true, true,
       -1},
      {"Label4", TControlKind::Label, 160, 120, 26, 21, "P=", 21, true, false, -1},
      {"Button1", TControlKind::PushButton, 24, 48, 89, 33, "EXIT", 0, false, false, 0},
      {"RadioGroup1", TControlKind::RadioGroup, 224, 48, 121, 49, "MODE", 0, false, false, 1},
      {"Edit1", TControlKind::Edit, 56, 120, 89, 20, "", 0, false, false, 2},
      {"Edit2", TControlKind::Edit, 192, 120, 89, 20, "", 0, false, false, 3},
      {"Button2", TControlKind::PushButton, 128, 48, 81, 33, "EXECUTE", 0, false, false, 4},
  };
  const auto controls = Form1Description.controls;
  ASSERT_EQ(controls.size(), std::size(expected));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const TControlDescription& c = controls[i];
    const ExpectedControl& e = expected[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(c.name, e.name);
    EXPECT_EQ(c.kind, e.kind);
    EXPECT_EQ((std::vector{c.left, c.top, c.width, c.height}),
              (std::vector{e.left, e.top, e.width, e.height}));
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.fontHeight, e.fontHeight);
    EXPECT_EQ(c.bold, e.bold);
    EXPECT_EQ(c.italic, e.italic);
    EXPECT_EQ(c.tabOrder, e.tabOrder);
  }
  const TControlDescription& group = controls[5];
  ASSERT_EQ(group.items.size(), 2u);
  EXPECT_EQ(group.items[0], "X\u2192P");
  EXPECT_EQ(group.items[1], "P\u2192X");
  EXPECT_EQ(group.itemIndex, 0);
}

TEST(FormDescription, HoldsTheFormsOwnProperties) {
  const TFormDescription& form = Form1Description;
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.className, "TForm1");
  EXPECT_EQ(form.caption, "Form1");
  EXPECT_EQ((std::vector{form.left, form.top, form.width, form.height}),
            (std::vector{218, 192, 397, 231}));
  EXPECT_EQ(form.fontFace, "ＭＳ Ｐゴシック");
  EXPECT_EQ(form.fontHeight, 12);
  EXPECT_EQ(form.fontCharSet, 128);
  EXPECT_EQ(form.pixelsPerInch, 96);
  EXPECT_EQ(form.textHeight, 12);
}

TEST(FormScaling, FormFontFollowsTheScreensPixelsPerInch) {
  const struct {
    int screen;
    int height;
  } cases[] = {{96, 12}, {120, 15}, {144, 18}, {72, 9}, {100, 13}, {192, 24}};
  for (const auto& c : cases) {
    EXPECT_EQ(ScaledFormFontHeight(Form1Description, c.screen), c.height) << c.screen;
  }
}

TEST(FormScaling, OuterBoundsFollowTheScreensPixelsPerInch) {
  // 397 x 231 at 218,192 on a 96-dpi screen, scaled by dpi/96 and rounded
  // half away from zero: 120 dpi is 5/4, 144 dpi 3/2, 72 dpi 3/4.
  const struct {
    int screen;
    TBounds bounds;
  } cases[] = {
      {96, {218, 192, 397, 231}},  {120, {273, 240, 496, 289}},  // 272.5, 240, 496.25, 288.75
      {144, {327, 288, 596, 347}},                               // 327, 288, 595.5, 346.5
      {72, {164, 144, 298, 173}},                                // 163.5, 144, 297.75, 173.25
      {192, {436, 384, 794, 462}},
  };
  for (const auto& c : cases) {
    const TBounds b = ScaledFormBounds(Form1Description, c.screen);
    EXPECT_EQ((std::vector{b.left, b.top, b.width, b.height}),
              (std::vector{c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height}))
        << c.screen;
  }
}

TEST(FormScaling, EdgesMoveSoThatTouchingControlsStillTouch) {
  const struct {
    TBounds designed;
    int measured;
    TBounds scaled;
  } cases[] = {
      {{24, 48, 89, 33}, 12, {24, 48, 89, 33}},  // nothing moves at the designed height
      {{24, 48, 89, 33}, 13, {26, 52, 96, 36}},  // 113*13/12 = 122.4 -> 122, less 26
      {{224, 48, 121, 49}, 15, {280, 60, 151, 61}},
      {{56, 120, 89, 20}, 16, {75, 160, 118, 27}},  // 74.67 -> 75, 193.33 -> 193
      {{1, 1, 1, 1}, 18, {2, 2, 1, 1}},             // 1.5 rounds away from zero
  };
  for (const auto& c : cases) {
    const TBounds b = ScaledBounds(c.designed, c.measured, 12);
    EXPECT_EQ((std::vector{b.left, b.top, b.width, b.height}),
              (std::vector{c.scaled.left, c.scaled.top, c.scaled.width, c.scaled.height}))
        << c.designed.left << "," << c.designed.top << " at " << c.measured;
  }
  EXPECT_EQ(ScaledFontHeight(24, 13, 12), 26);
  EXPECT_EQ(ScaledFontHeight(21, 13, 12), 23);  // 22.75
  EXPECT_EQ(ScaledFontHeight(21, 12, 12), 21);
}

TEST(FormScaling, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(5, -1, 2), -3);
  EXPECT_EQ(MulDiv(7, 3, -2), -11);                     // -10.5
  EXPECT_EQ(MulDiv(1'000'000'000, 2, 3), 666'666'667);  // the product needs 64 bits
}

TEST(RadioGroup, SplitsTheHeightBelowTheCaptionIntoEqualRows) {
  // The designed group is 121 x 49; with a caption line H high the usable
  // height is 49 - H - 5 in two rows of half of it each, the first starting
  // at (U mod 2) div 2 + H + 1.
  const struct {
    int captionHeight;
    int firstTop, secondTop, rowHeight;
  } cases[] = {
      {12, 13, 29, 16},  // U = 32
      {13, 14, 29, 15},  // U = 31: the odd pixel is split, 0 above
      {15, 16, 30, 14},  // U = 29
      {16, 17, 31, 14},  // U = 28
  };
  for (const auto& c : cases) {
    const TBounds first = RadioItemBounds(121, 49, c.captionHeight, 2, 0);
    const TBounds second = RadioItemBounds(121, 49, c.captionHeight, 2, 1);
    EXPECT_EQ(first.left, 8);
    EXPECT_EQ(first.width, 111);
    EXPECT_EQ(first.top, c.firstTop) << c.captionHeight;
    EXPECT_EQ(second.top, c.secondTop) << c.captionHeight;
    EXPECT_EQ(first.height, c.rowHeight) << c.captionHeight;
  }
}

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithTheRestLowerCased) {
  const struct {
    std::string_view path;
    std::string_view title;
  } cases[] = {
      {"/opt/CALC.EXE", "Calc"},
      {"C:\\Program Files\\normcalc\\CALC.EXE", "Calc"},
      {"calc.exe", "calc"},
      {"/a/calc.v2.exe", "calc"},
      {"/a.b/NormCalc", "Normcalc"},  // a dot in a folder is not the file's
      {"/usr/bin/normcalc", "normcalc"},
      {"/x/éTUDE.bin", "étude"},  // the first character stays whole
      {"/x/ÉTUDE", "Étude"},
      {"/x/.hidden", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplicationTitleFromPath(c.path), c.title) << c.path;
  }
}

}  // namespace
}  // namespace normcalc
