// TMenuColumnsPopup: one menu level shown in columns, drawn through our canvas in the classic
// menu look (menu colour, highlighted hot item, grayed disabled items, check marks, submenu
// arrows, an etched bar between columns that a bar break starts).
// Internal to the library and its tests, not part of the vxplan API: hosts do not include it.
//
// A column starts at every shown item with a break. The mouse makes the item under it hot,
// clicking an enabled item chooses it, pressing on (or resting over) an item with sub-items
// opens its submenu. Keys: Up/Down through the items, Left/Right to the neighbouring column
// (Right opens a submenu, Left in the first column of a submenu closes it), Home/End, Enter or
// Space to choose or open, Escape to close the level. A press outside every level ends the menu.
#pragma once

#include <vxplan/platform/core/vxTypes.h>

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

namespace vxplan {

class TMenuItem;
class TMenuSession;

class TMenuColumnsPopup : public QWidget {
public:
    // The level's shown items, laid out at once (the level's Click has already run).
    TMenuColumnsPopup(TMenuSession& session, TMenuItem& level, QWidget* parentLevel);
    ~TMenuColumnsPopup() override;

    TMenuItem& Level() const { return level_; }
    // The shown items, in order, and where each lies (client coordinates).
    int ItemCount() const { return static_cast<int>(entries_.size()); }
    TMenuItem* Item(int index) const { return entries_[static_cast<size_t>(index)].Item; }
    TRect ItemRect(int index) const { return entries_[static_cast<size_t>(index)].Bounds; }
    int ColumnOf(int index) const { return entries_[static_cast<size_t>(index)].Column; }
    int ColumnCount() const { return columns_; }
    // The x of each column's bar line (columns started by a bar break), client coordinates.
    const std::vector<int>& BarLines() const { return barLines_; }
    // The hot item's index; -1 when none.
    int HotIndex() const { return hot_; }
    void SetHotIndex(int index);
    // The item at a client point; -1 for none or a separator.
    int ItemAt(TPoint p) const;
    // The submenu level open beneath this one (null when none).
    QWidget* OpenChild() const { return child_.data(); }
    // The level as drawn.
    QImage Render() const;

    // Places the level at the screen point by the menus' rule (beside the parent item's other
    // side, or moved up, when it does not fit the screen there) and shows it.
    void ShowAt(TPoint screenPoint, const std::optional<TRect>& parentItem = std::nullopt);
    // Opens the hot item's submenu (its first item hot) or chooses it.
    void ActivateHot();
    // Closes the submenu beneath and this level.
    void CloseLevel();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct TEntry {
        TMenuItem* Item = nullptr;
        TRect Bounds;
        int Column = 0;
    };
    void Layout();
    void DrawItem(class TCanvas& canvas, const TEntry& entry, bool hot) const;
    bool Selectable(int index) const;
    void MoveVertical(int step);
    void MoveColumn(int step);
    // Opened from the keyboard, the submenu's first item is made hot.
    void OpenSubmenu(int index, bool selectFirst = false);
    void CloseChild();
    // Passes a press outside this level on to the level it opened from, or ends the menu.
    void PressOutside(QPoint global);
    void Choose(int index);

    TMenuSession& session_;
    TMenuItem& level_;
    QPointer<QWidget> parentLevel_;
    QPointer<QWidget> child_;
    int childIndex_ = -1;
    std::vector<TEntry> entries_;
    std::vector<int> barLines_;
    int columns_ = 0;
    int hot_ = -1;
    int gutter_ = 0;
    bool pressedInside_ = false;
    QTimer hoverTimer_;
};

}  // namespace vxplan
