// Mouse cursors by the platform's numbers, and the screen's cursor that overrides them all.
#pragma once

#include <QCursor>

namespace vxplan {

using TCursor = int;

constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSize = -5,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22;

bool IsKnownCursor(TCursor cursor);
// The Qt shape of a cursor; crDefault is the arrow. Throws EInvalidArgument for a number the
// platform does not define.
Qt::CursorShape ToQtCursorShape(TCursor cursor);

// The screen's cursor: anything but crDefault overrides the cursor of every control (the
// hourglass during a long operation); crDefault gives the controls their own cursors back.
class TScreen {
public:
    TCursor GetCursor() const { return cursor_; }
    // Throws EInvalidArgument for an unknown cursor and keeps the previous one.
    void SetCursor(TCursor cursor);

private:
    TCursor cursor_ = crDefault;
    bool overriding_ = false;
};

TScreen* Screen();

}  // namespace vxplan
