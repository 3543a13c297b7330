// Shared scene and input helpers of the editor control tests: keys, a shown and active form
// for the focus, a record of the key events, and a control that wants Tab or takes the
// context menu.
#pragma once

#include <vxplan/platform/controls/vxPanel.h>
#include <vxplan/platform/controls/vxWinControl.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vxplan::test {

inline void Press(QWidget* w, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyPress, qtKey, mods, text);
    QCoreApplication::sendEvent(w, &e);
}

inline void Release(QWidget* w, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent e(QEvent::KeyRelease, qtKey, mods, text);
    QCoreApplication::sendEvent(w, &e);
}

inline void Key(QWidget* w, int qtKey, const QString& text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    Press(w, qtKey, text, mods);
    Release(w, qtKey, text, mods);
}

// Tab as the window system delivers it: to the widget holding the focus.
inline void TabKey()
{
    ASSERT_TRUE(QApplication::focusWidget()) << "something must hold the focus";
    Press(QApplication::focusWidget(), Qt::Key_Tab, "\t");
}

// A top-level panel, shown and active, so that controls on it can take the focus.
class TForm {
public:
    TForm()
    {
        panel.SetBounds(0, 0, 320, 240);
        panel.show();
        panel.activateWindow();
        QApplication::processEvents();
    }
    // Places the control on the form at the given top.
    template <class C>
    C* Add(C* control, int top)
    {
        control->SetParent(&panel);
        control->SetTop(top);
        return control;
    }

    TPanel panel;
};

// OnKeyDown, OnKeyPress and OnKeyUp as "down 65", "char 97", "up 65"; a key or character
// listed in swallow is set to 0.
struct TKeyLog {
    explicit TKeyLog(TWinControl& c)
    {
        c.OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) {
            seen.push_back("down " + std::to_string(key));
            if (key == swallowKey) key = 0;
        };
        c.OnKeyPress = [this](TObject*, char32_t& ch) {
            seen.push_back("char " + std::to_string(static_cast<unsigned>(ch)));
            if (ch == swallowChar) ch = 0;
        };
        c.OnKeyUp = [this](TObject*, uint16_t& key, TShiftState) { seen.push_back("up " + std::to_string(key)); };
    }
    std::vector<std::string> seen;
    uint16_t swallowKey = 0xFFFF;
    char32_t swallowChar = 0xFFFFFFFF;
};

// A control that answers CM_WANTSPECIALKEY for Tab when wantsTab is on, and records the
// context-menu requests it hears, taking them (Result 1) when takesMenu is on.
template <class C>
class TProbe : public C {
public:
    using C::C;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_WANTSPECIALKEY && m.WParam == VK_TAB && wantsTab) {
            m.Result = 1;
            return;
        }
        if (m.Msg == WM_CONTEXTMENU) {
            menuRequests.push_back(m.LParam);
            if (takesMenu) {
                m.Result = 1;
                return;
            }
        }
        C::WndProc(m);
    }
    bool wantsTab = false;
    bool takesMenu = false;
    std::vector<LPARAM> menuRequests;
};

}  // namespace vxplan::test
