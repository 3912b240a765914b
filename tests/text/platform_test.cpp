#include "text/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

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

#ifndef _WIN32

TEST(Platform, LocalTimeZoneIsPinnedOnlyWhenUnset)
{
    const std::string before = std::getenv("TZ") ? std::getenv("TZ") : "";
    text::PinLocalTimeZone();
    EXPECT_EQ(std::getenv("TZ") ? std::string(std::getenv("TZ")) : "", before);  // kept
    unsetenv("TZ");
    text::PinLocalTimeZone();
    ASSERT_NE(std::getenv("TZ"), nullptr);
    EXPECT_STREQ(std::getenv("TZ"), ":/etc/localtime");
    if (before.empty())
        unsetenv("TZ");
    else
        setenv("TZ", before.c_str(), 1);
    tzset();
}

TEST(Platform, TheEmbeddedEngineAndItsClientAreThere)
{
    EXPECT_TRUE(text::HasEmbeddedDatabaseEngine());
    EXPECT_EQ(text::DatabaseClientLoadError(), "");
}

#else

// The tests run with fbclient.dll beside them, as the installed programs do.
TEST(Platform, WindowsReachesTheDatabaseThroughAServerWithItsClientBeside)
{
    EXPECT_FALSE(text::HasEmbeddedDatabaseEngine());
    EXPECT_EQ(text::DatabaseClientLoadError(), "");
}

#endif

TEST(Platform, UnmappedDriveNameComesBackUnchanged)
{
    EXPECT_EQ(text::GetNetworkConnection("Q:"), "Q:");
    EXPECT_EQ(text::GetNetworkConnection(""), "");
}

}  // namespace
