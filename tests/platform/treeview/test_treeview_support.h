// Shared scene and input helpers of the tree view tests.
#pragma once

#include <vxplan/platform/treeview/vxTreeView.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>
#include <string>
#include <vector>

namespace vxplan::test {

// A tree with fixed metrics: no border, 16-pixel rows, 19-pixel indent, 200 x 160 pixels.
inline std::unique_ptr<TTreeView> MakeTree(int width = 200, int height = 160)
{
    auto tree = std::make_unique<TTreeView>();
    tree->SetBorderStyle(TBorderStyle::bsNone);
    tree->SetItemHeight(16);
    tree->SetBounds(0, 0, width, height);
    return tree;
}

// Roots "R0".."R<n-1>", each with children "R<i>.0".."R<i>.<k-1>".
inline void Fill(TTreeView& tree, int roots, int children)
{
    tree.Items().BeginUpdate();
    for (int i = 0; i < roots; ++i) {
        TTreeNode* r = tree.Items().AddChild(nullptr, "R" + std::to_string(i));
        for (int j = 0; j < children; ++j) tree.Items().AddChild(r, "R" + std::to_string(i) + "." + std::to_string(j));
    }
    tree.Items().EndUpdate();
}

inline void Key(QWidget* w, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, qtKey, mods, text);
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, qtKey, mods, text);
    QCoreApplication::sendEvent(w, &up);
}

inline void Mouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(x, y), QPointF(w->mapToGlobal(QPoint(x, y))), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline void Click(QWidget* w, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    Mouse(w, QEvent::MouseButtonPress, x, y, button);
    Mouse(w, QEvent::MouseButtonRelease, x, y, button);
}

// Shows the tree in an active window and gives it the focus.
inline void Focus(TTreeView& tree)
{
    tree.show();
    tree.activateWindow();
    QApplication::processEvents();
    tree.SetFocus();
    QApplication::processEvents();
}

inline std::vector<std::string> Texts(TTreeNodes& items)
{
    std::vector<std::string> out;
    for (int i = 0; i < items.GetCount(); ++i) out.push_back(items[i]->GetText());
    return out;
}

}  // namespace vxplan::test
