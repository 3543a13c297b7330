// Shared helpers for the tests: pixels of images in the platform's colour format, the text of
// an expected exception, and mouse input.
#pragma once

#include <vxplan/platform/graphics/vxColor.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

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

}  // namespace vxplan::test
