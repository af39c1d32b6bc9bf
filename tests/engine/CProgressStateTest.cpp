#include "app/CProgressState.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressState, RangeAndPositionAreNeverNegativeAndTheBarNeverOverflows) {
    CProgressState s;
    s.SetRange(-5);
    EXPECT_EQ(s.Range(), 0);
    EXPECT_EQ(s.Fraction(), 0) << "nothing fed yet";
    s.SetPos(3);
    EXPECT_EQ(s.Fraction(), 1) << "an empty range is done as soon as anything moves";

    s.SetRange(200);
    s.SetPos(-10);
    EXPECT_EQ(s.Pos(), 0);
    s.SetPos(50);
    EXPECT_DOUBLE_EQ(s.Fraction(), 0.25);
    s.SetPos(1000);
    EXPECT_EQ(s.Fraction(), 1);
}

TEST(ProgressState, CreepingStepsShrinkAndNeverReachTheEnd) {
    CProgressState s;
    s.SetRange(2000);
    s.SetCreeping(true);
    double last = 0, lastStep = 1e9;
    for (int fed = 10; fed <= 20000; fed += 10) {
        s.SetPos(fed);
        const double step = s.Shown() - last;
        ASSERT_GT(step, 0) << "at " << fed;
        ASSERT_LE(step, lastStep) << "at " << fed;
        ASSERT_LT(s.Shown(), 2000) << "at " << fed;
        last = s.Shown();
        lastStep = step;
    }
    EXPECT_LT(s.Fraction(), 1);
    // A jump larger than the whole guess moves at most half of what is left.
    CProgressState jump;
    jump.SetRange(100);
    jump.SetCreeping(true);
    jump.SetPos(1000);
    EXPECT_DOUBLE_EQ(jump.Shown(), 50);
    jump.SetRange(100);
    EXPECT_FALSE(jump.Creeping()) << "a new range starts a plain count";
}

TEST(ProgressState, Labels) {
    CProgressState s;
    s.SetPos(41.9);
    EXPECT_EQ(s.Label(), "41");
    s.SetCreeping(true);
    s.SetPos(41.5);
    EXPECT_EQ(s.Label(), "41.5");
    s.SetPosText(7, "Reading headers");
    EXPECT_EQ(s.Label(), "Reading headers");
    s.SetPos(8);
    EXPECT_EQ(s.Label(), "8") << "a plain feed leaves the text mode";

    EXPECT_EQ(FormatElapsed(0), "0h:0m:0s");
    EXPECT_EQ(FormatElapsed(59'999), "0h:0m:59s");
    EXPECT_EQ(FormatElapsed((2 * 3600 + 3 * 60 + 4) * 1000LL), "2h:3m:4s");
}

} // namespace
