#include "Handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != 0;
}

TEST(HandleTest, ClosesWhenItGoesOutOfScope)
{
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(IsOpen(event));
    {
        CHandle owner(event);
        EXPECT_TRUE(owner.IsValid());
    }
    EXPECT_FALSE(IsOpen(event));
}

TEST(HandleTest, MovingHandsOverOwnershipWithoutClosing)
{
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CHandle first(event);
    CHandle second(std::move(first));
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(second.Get(), event);
    EXPECT_TRUE(IsOpen(event));

    CHandle third;
    third = std::move(second);
    EXPECT_EQ(third.Get(), event);
    third.Close();
    EXPECT_FALSE(IsOpen(event));
}

TEST(HandleTest, DetachLeavesTheHandleOpenForTheCaller)
{
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    {
        CHandle owner(event);
        EXPECT_EQ(owner.Detach(), event);
        EXPECT_FALSE(owner.IsValid());
    }
    EXPECT_TRUE(IsOpen(event));
    ::CloseHandle(event);
}

TEST(HandleTest, InvalidHandleValueIsNeverClosed)
{
    CHandle fromFailedOpen(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fromFailedOpen.IsValid());
}

} // namespace
