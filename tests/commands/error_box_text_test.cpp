// The error box's period rule: "." is appended when the message's last
// character sorts after "." as unsigned bytes; a double-byte character always does.
#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "normcalc/core.h"

namespace normcalc {
namespace {

struct PeriodCase {
  std::string message;
  std::string shown;
};

TEST(ErrorBoxText, AppendsAPeriodOnlyAfterACharacterThatSortsAfterThePeriod) {
  const PeriodCase cases[] = {
      {"abc", "abc."},
      {"abc.", "abc."},
      {"abc!", "abc!"},
      {"abc ", "abc "},
      {"abc?", "abc?."},
      {"abc,", "abc,"},
      {"abc-", "abc-"},
      {"abc)", "abc)"},
      {"abc/", "abc/."},  // "/" is 0x2F, just after "."
      {"abc:", "abc:."},
      {"abc9", "abc9."},
      {"範囲チェックエラー", "範囲チェックエラー."},
      {"TForm1 リソースが見つかりません", "TForm1 リソースが見つかりません."},
      {"x\xC3\xA9", "x\xC3\xA9."},  // any multi-byte character, not only Japanese
      {"", ""},
      {".", "."},
      {"a", "a."},
  };
  for (const PeriodCase& c : cases) {
    EXPECT_EQ(ErrorBoxText(c.message), c.shown) << '"' << c.message << '"';
  }
}

TEST(ErrorBoxText, TheFloatingPointFaultsAreShownWithAPeriod) {
  EXPECT_EQ(ErrorBoxText(EOverflow().Message()), "浮動小数点数のオーバーフロー.");
  EXPECT_EQ(ErrorBoxText(EInvalidOp().Message()), "不正な浮動小数点数演算命令.");
  EXPECT_EQ(ErrorBoxText(EZeroDivide().Message()), "0 による浮動小数点数除算.");
  EXPECT_EQ(ErrorBoxText(EUnderflow().Message()), "浮動小数点数のアンダーフロー.");
  EXPECT_EQ(ErrorBoxText(EAbort().Message()), "");
}

// Every front end reports what escapes its start-up this way: the system's own
// exceptions keep their message, anything else becomes the empty-text box.
TEST(ReportableException, KeepsTheSystemsMessagesAndEmptiesAnyOther) {
  EXPECT_EQ(ReportableException(std::make_exception_ptr(EOverflow())).Message(),
            "浮動小数点数のオーバーフロー");
  EXPECT_EQ(ReportableException(std::make_exception_ptr(Exception("abc"))).Message(), "abc");
  EXPECT_EQ(ReportableException(std::make_exception_ptr(std::runtime_error("abc"))).Message(), "");
  EXPECT_EQ(ReportableException(std::make_exception_ptr(42)).Message(), "");
}

}  // namespace
}  // namespace normcalc
