// Execute on a form model with no window: which box is read, which is written,
// and what happens to both when the conversion fails.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "calculator_check_values.h"
#include "normcalc/core.h"

namespace normcalc {
namespace {

constexpr int kXToP = test::kXToPIndex;
constexpr int kPToX = test::kPToXIndex;
constexpr int kNoSelection = -1;

class Button2ClickTest : public ::testing::Test {
 protected:
  void SetUp() override { SetLocaleDecimalMark('.'); }
};

TEST_F(Button2ClickTest, WritesTheConvertedValueIntoTheOtherBoxAndLeavesTheReadBoxAsTyped) {
  for (const test::CheckValue& c : test::kCalculatorCheckValues) {
    SCOPED_TRACE(::testing::Message() << "index " << c.itemIndex << ", typed \"" << c.typed << '"');
    MemoryForm form;
    form.itemIndex = c.itemIndex;
    // The box to be written holds something of the user's; it must be replaced whole.
    if (c.itemIndex == kXToP) {
      form.edit1 = c.typed;
      form.edit2 = "user's old text";
    } else {
      form.edit1 = "user's old text";
      form.edit2 = c.typed;
    }
    Button2Click(form);
    if (c.itemIndex == kXToP) {
      EXPECT_EQ(form.edit1, c.typed);
      EXPECT_EQ(form.edit2, c.written);
    } else {
      EXPECT_EQ(form.edit1, c.written);
      EXPECT_EQ(form.edit2, c.typed);
    }
    EXPECT_FALSE(form.closeRequested);
  }
}

TEST_F(Button2ClickTest, EveryIndexButZeroSelectsPToX) {
  for (const int index : {kPToX, kNoSelection, 2, -7}) {
    SCOPED_TRACE(index);
    MemoryForm form;
    form.itemIndex = index;
    form.edit1 = "1";
    form.edit2 = "0.475";
    Button2Click(form);
    EXPECT_EQ(form.edit1, "1.95997183815153");
    EXPECT_EQ(form.edit2, "0.475");
  }
}

TEST_F(Button2ClickTest, OnlyExecuteMovesTextAndTheModeDecidesWhichWay) {
  MemoryForm form;
  form.edit1 = "1";
  form.edit2 = "0.25";
  Button2Click(form);  // X->P, the initial mode
  EXPECT_EQ(form.edit1, "1");
  EXPECT_EQ(form.edit2, "0.341344279839592");

  form.itemIndex = kPToX;  // switching the mode alone writes nothing
  EXPECT_EQ(form.edit1, "1");
  EXPECT_EQ(form.edit2, "0.341344279839592");

  form.edit2 = "0.475";
  Button2Click(form);
  EXPECT_EQ(form.edit1, "1.95997183815153");
  EXPECT_EQ(form.edit2, "0.475");

  form.itemIndex = kXToP;
  form.edit1 = "0.74";
  Button2Click(form);
  EXPECT_EQ(form.edit1, "0.74");
  EXPECT_EQ(form.edit2, "0.270349535532154");
}

TEST_F(Button2ClickTest, RepeatedExecuteGivesTheSameTextEachTime) {
  for (const int index : {kXToP, kPToX}) {
    MemoryForm form;
    form.itemIndex = index;
    form.edit1 = "0.74";
    form.edit2 = "0.0018";
    Button2Click(form);
    const MemoryForm once = form;
    Button2Click(form);
    EXPECT_EQ(form.edit1, once.edit1);
    EXPECT_EQ(form.edit2, once.edit2);
  }
}

TEST_F(Button2ClickTest, WritesWithTheDecimalMarkInForceAtTheClick) {
  MemoryForm form;
  form.edit1 = "1";
  SetLocaleDecimalMark(',');
  Button2Click(form);
  EXPECT_EQ(form.edit2, "0,341344279839592");
  // The mark is for writing only: reading stops at ",", so P->X now reads 0.
  form.itemIndex = kPToX;
  Button2Click(form);
  EXPECT_EQ(form.edit1, "0");
  SetLocaleDecimalMark('.');
}

// The two inputs that make Execute fail part-way. A strict mock fails on any
// write at all, which a MemoryForm could not tell from a write of the old text.
class MockForm : public FormModel {
 public:
  MOCK_METHOD(int, ItemIndex, (), (const, override));
  MOCK_METHOD(std::string, Edit1Text, (), (const, override));
  MOCK_METHOD(std::string, Edit2Text, (), (const, override));
  MOCK_METHOD(void, SetEdit1Text, (std::string_view), (override));
  MOCK_METHOD(void, SetEdit2Text, (std::string_view), (override));
  MOCK_METHOD(void, Close, (), (override));
};

using ::testing::Return;
using ::testing::StrictMock;

TEST_F(Button2ClickTest, NaNInXBoxRaisesInvalidOpAndWritesNothing) {
  for (const char* typed : {"+NAN", "-NAN"}) {
    StrictMock<MockForm> form;
    EXPECT_CALL(form, ItemIndex()).WillRepeatedly(Return(kXToP));
    EXPECT_CALL(form, Edit1Text()).WillRepeatedly(Return(typed));
    EXPECT_THROW(Button2Click(form), EInvalidOp);
  }
}

TEST_F(Button2ClickTest, ValueBeyondExtendedRangeInPBoxRaisesOverflowAndWritesNothing) {
  StrictMock<MockForm> form;
  EXPECT_CALL(form, ItemIndex()).WillRepeatedly(Return(kPToX));
  EXPECT_CALL(form, Edit2Text()).WillRepeatedly(Return("2e4932"));
  EXPECT_THROW(Button2Click(form), EOverflow);
}

// Execute on the form, set to the mode and the two texts, fails with Failure
// and leaves both boxes holding the texts.
template <class Failure>
void ExpectFailureKeepsBothBoxes(MemoryForm& form, int itemIndex, const char* edit1,
                                 const char* edit2) {
  form.itemIndex = itemIndex;
  form.edit1 = edit1;
  form.edit2 = edit2;
  EXPECT_THROW(Button2Click(form), Failure);
  EXPECT_EQ(form.edit1, edit1);
  EXPECT_EQ(form.edit2, edit2);
}

TEST_F(Button2ClickTest, AfterAFailureBothBoxesHoldWhatTheyHeldAndTheNextExecuteWorks) {
  MemoryForm form;
  ExpectFailureKeepsBothBoxes<EInvalidOp>(form, kXToP, "+NAN", "0.341344279839592");
  ExpectFailureKeepsBothBoxes<EOverflow>(form, kPToX, "1", "2e4932");

  form.edit2 = "0.25";
  Button2Click(form);
  EXPECT_EQ(form.edit1, "0.674491219192245");
}

}  // namespace
}  // namespace normcalc
