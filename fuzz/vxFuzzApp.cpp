// The one QApplication of a fuzz process, offscreen, kept until the process ends.
#include "vxFuzzCheck.h"

#include <QApplication>

#include <cstdlib>

namespace vxplan::fuzz {

void EnsureApplication()
{
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "vxplan-fuzz";
    static char* argv[] = {name, nullptr};
    // Never deleted: Qt's own caches live as long as the process, and libFuzzer exits from
    // inside its loop.
    new QApplication(argc, argv);
}

}  // namespace vxplan::fuzz
