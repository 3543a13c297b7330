// Shared helpers for the tests: pixels of images in the platform's colour format, the text of
// an expected exception, and mouse input.
#pragma once

#include <vxplan/platform/graphics/vxColor.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// Qt's entry for the window system's mouse events (exported for Qt's own test library).
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global, Qt::MouseButtons state,
                                      Qt::MouseButton button, QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);
QT_END_NAMESPACE

namespace vxplan::test {

inline TColor PixelAt(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

struct TPixelCheck {
    int x, y;
    TColor color;
};

// Checks each listed pixel of the image, naming the one that differs.
inline void ExpectPixels(const QImage& image, std::initializer_list<TPixelCheck> pixels)
{
    for (const TPixelCheck& p : pixels) EXPECT_EQ(PixelAt(image, p.x, p.y), p.color) << "pixel " << p.x << "," << p.y;
}

// The number of pixels of the colour inside [x0, x1) x [y0, y1).
inline int CountPixels(const QImage& image, TColor color, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (PixelAt(image, x, y) == color) ++n;
    return n;
}

// The text of the E that f throws, or "no exception" when it throws none.
template <class E, class F>
std::string ErrorText(F&& f)
{
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "no exception";
}

// Delivers a mouse event to the widget at its client point (x, y).
inline void SendMouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
                      Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(x, y), QPointF(w->mapToGlobal(QPoint(x, y))), button, buttons, mods);
    QCoreApplication::sendEvent(w, &e);
}

// Delivers a mouse event as the window system does, at the widget's client point (x, y): to the
// shown window holding the widget, so that Qt routes it to the widget under the point, keeps the
// application's button state and holds the mouse for the pressed widget until the release.
inline void WindowMouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
                        Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    static int timestamp = 0;
    timestamp += 1000;  // no two presses make a double click
    QWidget* top = w->window();
    ASSERT_TRUE(top->windowHandle()) << "the window must be shown";
    const QPoint inWindow = w->mapTo(top, QPoint(x, y));
    const QPoint global = w->mapToGlobal(QPoint(x, y));
    qt_handleMouseEvent(top->windowHandle(), QPointF(inWindow), QPointF(global), buttons, button, type, mods, timestamp);
}

}  // namespace vxplan::test
