// TRadioGroup: a captioned group of radio buttons in one column, with the
// selected item as a plain index (ItemIndex: 0, 1, ... or -1 for none).
#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QList>
#include <QRadioButton>
#include <QStringList>

namespace normcalc {

class TRadioGroup final : public QGroupBox {
  Q_OBJECT
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

 public:
  explicit TRadioGroup(QWidget* parent = nullptr);

  QStringList Items() const;
  // Replaces the radio buttons by one per item, none selected.
  void SetItems(const QStringList& items);

  int ItemIndex() const;
  // Selects the item at index; -1, or any index without an item, selects none.
  void SetItemIndex(int index);

  QRadioButton* Item(int index) const { return buttons_.value(index); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintFrameAndCaption();
  void ArrangeItems();
  void UpdateTabStop();

  QButtonGroup group_;
  QList<QRadioButton*> buttons_;
};

}  // namespace normcalc
