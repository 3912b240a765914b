#include "text/platform.h"

#include <gtest/gtest.h>

namespace {

#ifndef _WIN32

TEST(Platform, EscapeIsReportedUntilReset)
{
    text::ResetEscapePressed();
    EXPECT_FALSE(text::IsEscapePressed());
    text::NoteEscapePressed();
    EXPECT_TRUE(text::IsEscapePressed());
    EXPECT_TRUE(text::IsEscapePressed());  // reading does not consume it
    text::ResetEscapePressed();
    EXPECT_FALSE(text::IsEscapePressed());
}

#endif

TEST(Platform, UnmappedDriveNameComesBackUnchanged)
{
    EXPECT_EQ(text::GetNetworkConnection("Q:"), "Q:");
    EXPECT_EQ(text::GetNetworkConnection(""), "");
}

}  // namespace
