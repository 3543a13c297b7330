// The update guard brackets only batches that changed something, and always closes what it opened.
#include <vxplan/dataentity/vxBeginUpdate.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace vxplan;

namespace {

struct TRecorder {
    std::string log;
    TvxUpdateCall Begin() { return TvxUpdateCall([this] { log += "B"; }); }
    TvxUpdateCall End() { return TvxUpdateCall([this] { log += "E"; }); }
};

}  // namespace

TEST(BeginUpdate, ABatchWithoutMarksCallsNeitherHandlerManyMarksBeginOnceAndEndOnce)
{
    TRecorder r;
    {
        TvxBeginUpdate guard(r.Begin(), r.End());
        EXPECT_FALSE(guard.Marked());
    }
    EXPECT_EQ(r.log, "");
    {
        TvxBeginUpdate guard(r.Begin(), r.End());
        guard.Mark();
        EXPECT_EQ(r.log, "B");
        guard.Mark();
        guard.Mark();
        EXPECT_TRUE(guard.Marked());
        EXPECT_EQ(r.log, "B");
    }
    EXPECT_EQ(r.log, "BE");
}

TEST(BeginUpdate, ErrorLeavingTheBatchStillEndsIt)
{
    TRecorder r;
    try {
        TvxBeginUpdate guard(r.Begin(), r.End());
        for (int i = 0; i < 3; ++i) {
            guard.Mark();
            if (i == 1) throw std::runtime_error("change failed");
        }
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(r.log, "BE");
}

TEST(BeginUpdate, FailingBeginLeavesTheGuardUnmarkedAndUnended)
{
    TRecorder r;
    {
        TvxBeginUpdate guard(TvxUpdateCall([] { throw std::runtime_error("cannot begin"); }), r.End());
        EXPECT_THROW(guard.Mark(), std::runtime_error);
        EXPECT_FALSE(guard.Marked());
    }
    EXPECT_EQ(r.log, "");
}
