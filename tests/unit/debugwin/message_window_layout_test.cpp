// Where the message window sits in the debugger window.
#include <gtest/gtest.h>

#include "debugwin/message_window_layout.h"

namespace tavir {
namespace {

TEST(MessageWindowLayout, StartsAsTheLowerThird) {
    struct Case {
        int width, height;
        WindowPlace expected;
    };
    for (Case c : {Case{484, 342, {0, 228, 484, 114}}, Case{100, 100, {0, 66, 100, 33}}, Case{0, 0, {0, 0, 0, 0}},
                   Case{10, 2, {0, 1, 10, 0}}}) {
        WindowPlace p = initialMessageWindowPlace(c.width, c.height);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
}

TEST(MessageWindowLayout, DocksAtTheBottomKeepingItsHeight) {
    struct Case {
        int clientWidth, clientHeight, outer, inner;
        WindowPlace expected;
    };
    const Case cases[] = {
        // Frames of 4 pixels above and below: the lower one lies below the client area.
        {484, 342, 114, 106, {0, 232, 484, 114}},
        {600, 342, 114, 106, {0, 232, 600, 114}},  // wider: the height stays
        {484, 500, 114, 106, {0, 390, 484, 114}},  // taller: it stays at the bottom
        {484, 80, 114, 106, {0, 4, 484, 80}},      // taller than the client area: cut to it
        {484, 342, 9, 0, {0, 338, 484, 9}},        // an odd frame rounds up
    };
    for (const Case& c : cases) {
        WindowPlace p = dockedMessageWindowPlace(c.clientWidth, c.clientHeight, c.outer, c.inner);
        EXPECT_EQ(p.x, c.expected.x);
        EXPECT_EQ(p.y, c.expected.y);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
    }
}

}  // namespace
}  // namespace tavir
