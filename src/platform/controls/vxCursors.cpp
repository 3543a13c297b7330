// The platform's cursor numbers as Qt cursors, and the screen cursor that overrides them.
#include <vxplan/platform/controls/vxCursors.h>

#include <vxplan/platform/core/vxExceptions.h>

#include <QGuiApplication>

#include <string>

namespace vxplan {

namespace {

// Indexed by -cursor: crDefault (0) down to crSizeAll (-22).
constexpr Qt::CursorShape kShapes[] = {
    Qt::ArrowCursor,         // crDefault
    Qt::BlankCursor,         // crNone
    Qt::ArrowCursor,         // crArrow
    Qt::CrossCursor,         // crCross
    Qt::IBeamCursor,         // crIBeam
    Qt::SizeAllCursor,       // crSize
    Qt::SizeBDiagCursor,     // crSizeNESW: from bottom-left to top-right
    Qt::SizeVerCursor,       // crSizeNS
    Qt::SizeFDiagCursor,     // crSizeNWSE
    Qt::SizeHorCursor,       // crSizeWE
    Qt::UpArrowCursor,       // crUpArrow
    Qt::WaitCursor,          // crHourGlass
    Qt::DragMoveCursor,      // crDrag
    Qt::ForbiddenCursor,     // crNoDrop
    Qt::SplitHCursor,        // crHSplit: a bar dragged sideways
    Qt::SplitVCursor,        // crVSplit: a bar dragged up and down
    Qt::DragCopyCursor,      // crMultiDrag
    Qt::WaitCursor,          // crSQLWait
    Qt::ForbiddenCursor,     // crNo
    Qt::BusyCursor,          // crAppStart: arrow with hourglass
    Qt::WhatsThisCursor,     // crHelp
    Qt::PointingHandCursor,  // crHandPoint
    Qt::SizeAllCursor,       // crSizeAll
};
constexpr int kCount = static_cast<int>(sizeof(kShapes) / sizeof(kShapes[0]));

}  // namespace

bool IsKnownCursor(TCursor cursor) { return cursor <= 0 && -cursor < kCount; }

Qt::CursorShape ToQtCursorShape(TCursor cursor)
{
    if (!IsKnownCursor(cursor)) throw EInvalidArgument("Unknown cursor " + std::to_string(cursor));
    return kShapes[-cursor];
}

void TScreen::SetCursor(TCursor cursor)
{
    const Qt::CursorShape shape = ToQtCursorShape(cursor);
    cursor_ = cursor;
    if (cursor == crDefault) {
        if (overriding_) QGuiApplication::restoreOverrideCursor();
        overriding_ = false;
    } else if (overriding_) {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        overriding_ = true;
    }
}

TScreen* Screen()
{
    static TScreen screen;
    return &screen;
}

}  // namespace vxplan
