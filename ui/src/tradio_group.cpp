#include "tradio_group.h"

#include <qdrawutil.h>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "event_guard.h"
#include "normcalc/core.h"

namespace normcalc {

namespace {

// The caption starts kCaptionLeft pixels in, on the frame's top line, with
// kCaptionPadding pixels of the group's face on either side.
constexpr int kCaptionLeft = 8;
constexpr int kCaptionPadding = 1;

}  // namespace

TRadioGroup::TRadioGroup(QWidget* parent) : QGroupBox(parent) {
  group_.setExclusive(true);
  connect(&group_, &QButtonGroup::idToggled, this,
          [this] { GuardEvent([this] { UpdateTabStop(); }); });
}

QStringList TRadioGroup::Items() const {
  QStringList items;
  for (const QRadioButton* button : buttons_) items.append(button->text());
  return items;
}

void TRadioGroup::SetItems(const QStringList& items) {
  qDeleteAll(buttons_);
  buttons_.clear();
  for (int index = 0; index < items.size(); ++index) {
    auto* button = new QRadioButton(items[index], this);
    group_.addButton(button, index);
    buttons_.append(button);
  }
  ArrangeItems();
  UpdateTabStop();
}

int TRadioGroup::ItemIndex() const { return group_.checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QRadioButton* button = Item(index)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group refuses to uncheck its last checked button.
  group_.setExclusive(false);
  for (QRadioButton* button : buttons_) button->setChecked(false);
  group_.setExclusive(true);
  UpdateTabStop();
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  GuardEvent([this] { ArrangeItems(); });
}

void TRadioGroup::changeEvent(QEvent* event) {
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) GuardEvent([this] { ArrangeItems(); });
}

// The caption sits on the frame's top line, which runs behind it, so the
// frame begins half a line down and the items below the caption's line stay
// inside it (Qt's own styles put the whole caption above the frame, where the
// first item would overlap the frame's top).
void TRadioGroup::paintEvent(QPaintEvent* /*event*/) {
  GuardEvent([this] { PaintFrameAndCaption(); });
}

void TRadioGroup::PaintFrameAndCaption() {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  // An etched line: a shaded rectangle, sunken, one pixel wide.
  qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1);
  if (title().isEmpty()) return;
  const QRect caption(kCaptionLeft, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding,
                      metrics.height());
  painter.fillRect(caption, palette().window());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(caption, Qt::AlignCenter, title());
}

// One column: the height left below the caption's line is shared out in equal
// whole rows, the remainder split above and below them.
void TRadioGroup::ArrangeItems() {
  if (buttons_.isEmpty()) return;
  const int count = static_cast<int>(buttons_.size());
  const int captionHeight = QFontMetrics(font()).height();
  for (int index = 0; index < count; ++index) {
    const TBounds cell = RadioItemBounds(width(), height(), captionHeight, count, index);
    buttons_[index]->setGeometry(cell.left, cell.top, cell.width, cell.height);
  }
}

// Tab enters the group on its selected item only (the first when none is
// selected); the arrow keys move between the items.
void TRadioGroup::UpdateTabStop() {
  const int tabStop = ItemIndex() < 0 ? 0 : ItemIndex();
  for (int index = 0; index < buttons_.size(); ++index) {
    buttons_[index]->setFocusPolicy(index == tabStop ? Qt::StrongFocus : Qt::ClickFocus);
  }
  setFocusProxy(Item(tabStop));
}

}  // namespace normcalc
