#include "app/frame_stats.h"

#include <gtest/gtest.h>

TEST(FrameStats, TheLogLineFormat) {
    EXPECT_EQ(fpsLogLine(143, 0.414, 6.5, 48, 51), "FPS 143 update 0.41 draw 6.50 units 48/51");
    EXPECT_EQ(fpsLogLine(0, 0, 0, 0, 0), "FPS 0 update 0.00 draw 0.00 units 0/0");
}

