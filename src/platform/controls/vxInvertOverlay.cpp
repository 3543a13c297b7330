// TInvertOverlay: an inverted snapshot shown by a widget above the window's children.
#include <vxplan/platform/controls/vxInvertOverlay_p.h>

#include <vxplan/platform/controls/vxWinControl.h>

#include <QPainter>
#include <QWidget>

namespace vxplan {

namespace {

QImage Inverted(const QImage& snapshot, const TRect& r, TInvertOverlay::TInversion inversion)
{
    QImage part = snapshot.copy(r.Left, r.Top, r.Width(), r.Height()).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            const bool invert = inversion == TInvertOverlay::TInversion::Full || ((r.Left + x + r.Top + y) & 1) == 0;
            if (invert) line[x] = 0xFF000000u | (~line[x] & 0x00FFFFFFu);
        }
    }
    return part;
}

}  // namespace

class TInvertOverlay::TOverlayWidget : public QWidget {
public:
    explicit TOverlayWidget(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }
    QImage pixels;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, pixels);
    }
};

TInvertOverlay::TInvertOverlay(TWinControl* window, TInversion inversion)
    : window_(window), inversion_(inversion),
      snapshot_(window->grab().toImage().convertToFormat(QImage::Format_RGB32)),
      widget_(std::make_unique<TOverlayWidget>(window))
{
}

TInvertOverlay::~TInvertOverlay() = default;

void TInvertOverlay::Invert(const TRect& rect)
{
    if (shown_ && rect == rect_) {
        shown_ = false;
        widget_->hide();
        return;
    }
    TRect r;
    IntersectRect(r, rect, Rect(0, 0, snapshot_.width(), snapshot_.height()));
    rect_ = rect;
    shown_ = true;
    widget_->pixels = r.IsEmpty() ? QImage() : Inverted(snapshot_, r, inversion_);
    widget_->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    widget_->raise();
    widget_->show();
    widget_->update();
}

}  // namespace vxplan
