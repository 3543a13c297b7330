// The main of every test program: a QApplication on the offscreen platform, the classic
// system colours and palette pinned so pixels do not depend on the desktop.
#include <vxplan/platform/graphics/vxColor.h>

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    vxplan::UseClassicSystemColors(true);
    QApplication::setPalette(vxplan::ClassicPalette());
    return RUN_ALL_TESTS();
}
