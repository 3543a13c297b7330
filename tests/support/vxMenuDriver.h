// Drives an interactive menu from inside its loop, for the tests of menus and of the components
// that pop them up.
#pragma once

#include <vxplan/platform/menus/vxMenuSession_p.h>

#include <QObject>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

namespace vxplan::test {

// Runs the steps from inside the menu's loop, one per pass of the event loop; a menu still open
// after them is dismissed so that a failing test cannot hang.
class TMenuDriver {
public:
    TMenuDriver(TMenuSession& session, std::vector<std::function<void()>> steps)
        : session_(session), steps_(std::move(steps))
    {
        Next();
    }

private:
    void Next()
    {
        QTimer::singleShot(0, &guard_, [this] {
            if (next_ < steps_.size()) {
                steps_[next_++]();
                Next();
            } else {
                QTimer::singleShot(200, &guard_, [this] { session_.Cancel(); });
            }
        });
    }
    TMenuSession& session_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    QObject guard_;
};

}  // namespace vxplan::test
