#pragma once

#include <string>
#include <vector>

#include <QGroupBox>

#include "common/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace dravik {

class ArrowKeyFilter;
class DropFilter;

// The item panel (fraSelectItem "表示項目"): one check box per data item inside a view that
// scrolls vertically. A box's state says whether its item is drawn; its caption is the item name
// fitted to the box in the item's colour, its tooltip the full name. The wheel scrolls the list
// wherever it turns over the panel; a file dropped on the panel or a box is reported.
class ItemPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit ItemPanel(QWidget* parent = nullptr);

  // Scrolls to the top, removes every box but box 1 and hides box 1 (its caption, colour and
  // state stay).
  void ClearItemPanel();
  // One box per item 1..item_count of `names` (0 is the time column): box 1 keeps its state, the
  // others start unchecked; captions fitted, colours from `colors`, tooltips per always_tooltip.
  // The filter's text applies to the new boxes.
  void BuildItemPanel(const std::vector<std::string>& names, int item_count,
                      const ItemColors& colors, bool always_tooltip);
  // Marks the boxes of items first..first + count - 1 as computed items with a sign beside the
  // box, refitting their captions (`names` as for BuildItemPanel) to the room the sign leaves;
  // every other box goes without it.
  void MarkComputedItems(const std::vector<std::string>& names, int first, int count,
                         bool always_tooltip);
  // Fits the view and the scroll bar to the frame's current height and the list's height.
  void FitItemPanelScroll();
  // Unchecks every box, each while it is hidden, so that no box asks for a redraw of its own; boxes
  // the filter hides are unchecked too and stay hidden.
  void UncheckAll();
  // Checks the boxes of items `indices` the same way; the caller redraws once for them all.
  void CheckItems(const std::vector<int>& indices);
  // Sets the caption colour of box `index`.
  void SetBoxColour(int index, Rgb colour);

  // Boxes that exist, box 1 included (also when hidden).
  int BoxCount() const { return static_cast<int>(boxes_.size()); }
  // Box 1..BoxCount().
  QCheckBox* Box(int index) const { return boxes_[index - 1]; }
  // Whether item `index` is drawn: its box exists and is checked.
  bool IsItemChecked(int index) const;
  // Marks the boxes of the items a reference log also has (items 1.. of `marked`, index 0 unused)
  // with a short dashed bar in the margin left of the box; an empty list removes every mark.
  void SetReferenceMarks(const std::vector<bool>& marked);
  // Whether box `index` carries the mark.
  bool HasReferenceMark(int index) const;
 signals:
  // chkItem_Click: box `index` was checked or unchecked (by the user or by the program).
  void ItemClicked(int index);
  // The right button was released over box `index`, at a global position.
  void ItemRightReleased(int index, QPoint global_pos);
  // `as_reference`: dropped with Shift held, to be opened as the reference log.
  void FileDropped(const QString& path, bool as_reference);

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RetranslateUi();
  QCheckBox* NewBox();
  // Sets the caption of box `index` to `name` fitted to `available_px`, and its tooltip.
  void FitCaption(int index, const std::string& name, int64_t available_px, bool always_tooltip);
  // Sets a box's state while it is hidden, leaving it shown or hidden as it was.
  static void SetCheckedQuietly(QCheckBox* box, bool checked);
  void ScrollList(int position);
  // Shows only the boxes whose item names hold the filter's text (letter case aside), one under
  // the other; a hidden box keeps its state.
  void ApplyFilter();

  QWidget* view_;  // picSelectItemBack
  QWidget* list_;  // picSelectItem
  QScrollBar* scroll_;
  QLabel* filter_label_;
  QLineEdit* filter_;  // txtItemFilter
  std::vector<QCheckBox*> boxes_;
  std::vector<QString> names_;  // of the items of the boxes, box 1 first
  std::vector<bool> marked_;    // by item, 0 unused: the reference log has the item
  QWidget* marks_;              // the margin left of the view, where the marks are drawn
  DropFilter* drops_;
  ArrowKeyFilter* arrow_keys_;
};

}  // namespace dravik
