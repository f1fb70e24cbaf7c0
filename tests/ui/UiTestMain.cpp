// The widget tests run inside the desktop program's own application object, so that its
// error handler and title are those of the program. It runs on the offscreen platform
// unless told otherwise, so that no display is needed, also when CTest lists the tests at
// build time.
#include "ui/ResizerApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    selvane::TResizerApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
