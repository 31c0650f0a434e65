#include "modWindowsVersion.h"
#include "print_text.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace torvalink;

namespace {

OSVERSIONINFOA Record(DWORD platform, DWORD major, DWORD minor, const char* csd = "")
{
    OSVERSIONINFOA record;
    std::memset(&record, 0, sizeof record);
    record.dwOSVersionInfoSize = sizeof record;
    record.dwPlatformId = platform;
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    record.dwBuildNumber = 12345; // plays no part
    std::strncpy(record.szCSDVersion, csd, sizeof record.szCSDVersion - 1);
    return record;
}

TEST(ClassifyWindowsVersion, Table)
{
    struct Case {
        DWORD platform, major, minor;
        const char* csd;
        std::int32_t code;
    };
    const Case cases[] = {
        {0, 3, 10, "", 1},  {0, 0, 0, "", 1},     {1, 4, 0, "", 2},    {1, 4, 0, " A", 2},
        {1, 4, 0, " B", 3}, {1, 4, 0, "B", 3},    {1, 4, 0, " C", 4},  {1, 4, 0, "c", 2},
        {1, 4, 10, "", 5},  {1, 4, 10, " A ", 6}, {1, 4, 10, " B", 5}, {1, 4, 90, " A", 7},
        {1, 4, 91, "", 0},  {1, 5, 0, "", 0},     {1, 3, 0, "", 0},    {2, 3, 51, "", 0},
        {2, 4, 0, "", 8},   {2, 4, 7, "", 8},     {2, 5, 0, "", 9},    {2, 5, 1, "Service Pack 3", 10},
        {2, 5, 2, "", 11},  {2, 5, 3, "", 0},     {2, 6, 0, "", 12},   {2, 6, 1, "", 12},
        {2, 6, 2, "", 12},  {2, 6, 3, "", 12},    {2, 6, 99, "", 12},  {2, 10, 0, "", 0},
        {3, 6, 1, "", 0},   {99, 4, 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.platform << " " << c.major << "." << c.minor << " '" << c.csd << "'");
        EXPECT_EQ(ClassifyWindowsVersion(Record(c.platform, c.major, c.minor, c.csd)), c.code);
    }
}

TEST(ClassifyWindowsVersion, UntouchedRecordIsWin32s)
{
    OSVERSIONINFOA record;
    std::memset(&record, 0, sizeof record);
    record.dwOSVersionInfoSize = sizeof record;
    EXPECT_EQ(ClassifyWindowsVersion(record), 1);
}

TEST(GetWindowsVersion, ClassifiesTheRunningSystem)
{
    // Wine reports Windows 10 as 6.2 to an executable that does not declare it.
    EXPECT_EQ(GetWindowsVersion(), 12);
}

} // namespace
