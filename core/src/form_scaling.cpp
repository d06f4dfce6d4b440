#include <cstdint>

#include "normcalc/core.h"

namespace normcalc {

namespace {

// The cell placement of a radio group: every item sits kItemLeft pixels in,
// kItemWidthAllowance narrower than the group, below the caption's line of
// text (its cell height plus kCaptionGap) and above kBottomAllowance pixels
// left at the foot of the group.
constexpr int kItemLeft = 8;
constexpr int kItemWidthAllowance = 10;
constexpr int kCaptionGap = 1;
constexpr int kBottomAllowance = 4;

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{number} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = denominator < 0 ? -std::int64_t{denominator} : denominator;
  const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
  return static_cast<int>(negative ? -rounded : rounded);
}

int ScaledFormFontHeight(const TFormDescription& form, int screenPixelsPerInch) {
  if (screenPixelsPerInch == form.pixelsPerInch) return form.fontHeight;
  return MulDiv(form.fontHeight, screenPixelsPerInch, form.pixelsPerInch);
}

TBounds ScaledFormBounds(const TFormDescription& form, int screenPixelsPerInch) {
  const auto scaled = [&](int value) {
    return MulDiv(value, screenPixelsPerInch, form.pixelsPerInch);
  };
  return {scaled(form.left), scaled(form.top), scaled(form.width), scaled(form.height)};
}

TBounds ScaledBounds(TBounds designed, int measured, int textHeight) {
  if (measured == textHeight) return designed;
  const int left = MulDiv(designed.left, measured, textHeight);
  const int top = MulDiv(designed.top, measured, textHeight);
  const int right = MulDiv(designed.left + designed.width, measured, textHeight);
  const int bottom = MulDiv(designed.top + designed.height, measured, textHeight);
  return {left, top, right - left, bottom - top};
}

int ScaledFontHeight(int designedHeight, int measured, int textHeight) {
  return measured == textHeight ? designedHeight : MulDiv(designedHeight, measured, textHeight);
}

TBounds RadioItemBounds(int groupWidth, int groupHeight, int captionHeight, int count, int index) {
  const int usable = groupHeight - captionHeight - kCaptionGap - kBottomAllowance;
  const int rowHeight = usable / count;
  const int firstTop = (usable % count) / 2 + captionHeight + kCaptionGap;
  return {kItemLeft, firstTop + index * rowHeight, groupWidth - kItemWidthAllowance, rowHeight};
}

}  // namespace normcalc
