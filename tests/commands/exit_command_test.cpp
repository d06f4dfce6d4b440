#include <gtest/gtest.h>

#include "normcalc/core.h"

namespace normcalc {
namespace {

TEST(Button1Click, AsksTheFormToCloseAndLeavesBothBoxesAlone) {
  MemoryForm form;
  form.itemIndex = 1;
  form.edit1 = "1";
  form.edit2 = "abc";
  Button1Click(form);
  EXPECT_TRUE(form.closeRequested);
  EXPECT_EQ(form.itemIndex, 1);
  EXPECT_EQ(form.edit1, "1");
  EXPECT_EQ(form.edit2, "abc");
}

}  // namespace
}  // namespace normcalc
