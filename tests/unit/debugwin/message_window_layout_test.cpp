// Where the message window sits in the debugger window.
#include "debugwin/message_window_layout.h"

#include <gtest/gtest.h>

namespace tavir {
namespace {

void expectPlace(const WindowPlace& p, int x, int y, int width, int height) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.width, width);
    EXPECT_EQ(p.height, height);
}

TEST(MessageWindowLayout, StartsAsTheLowerThird) {
    expectPlace(initialMessageWindowPlace(484, 342), 0, 228, 484, 114);
    expectPlace(initialMessageWindowPlace(10, 2), 0, 1, 10, 0);
}

// Frames of 4 pixels above and below: the lower one lies below the client area.
TEST(MessageWindowLayout, DocksAtTheBottomKeepingItsHeight) {
    expectPlace(dockedMessageWindowPlace(600, 342, 114, 106), 0, 232, 600, 114);
    expectPlace(dockedMessageWindowPlace(484, 500, 114, 106), 0, 390, 484, 114);
    expectPlace(dockedMessageWindowPlace(484, 80, 114, 106), 0, 4, 484, 80);  // cut to the client area
    expectPlace(dockedMessageWindowPlace(484, 342, 9, 0), 0, 338, 484, 9);    // an odd frame rounds up
}

}  // namespace
}  // namespace tavir
