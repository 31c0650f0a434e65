#include <torvalink/handles.h>
#include "scratch_dir.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueFile, FailedOpenIsNoneAndAnOpenFileIsClosedOnce)
{
    ScratchDir dir;
    const Text path = dir / L"file.bin";

    UniqueFile missing(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing == nullptr);
    EXPECT_EQ(static_cast<HANDLE>(missing.get()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(static_cast<HANDLE>(UniqueFile(static_cast<HANDLE>(nullptr)).get()), INVALID_HANDLE_VALUE)
        << "null is taken as none";

    HANDLE raw = INVALID_HANDLE_VALUE;
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        raw = file.get();
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(UniqueFind, FailedSearchIsNoneAndASearchIsUsable)
{
    ScratchDir dir;
    WIN32_FIND_DATAW found;
    const UniqueFind none(FindFirstFileW((dir / L"missing*").c_str(), &found));
    EXPECT_FALSE(none);

    WriteFileBytes(dir / L"present.bin", ByteBuffer(1, 0x42));
    const UniqueFind search(FindFirstFileW((dir / L"present*").c_str(), &found));
    ASSERT_TRUE(search);
    EXPECT_STREQ(found.cFileName, L"present.bin");
    EXPECT_FALSE(FindNextFileW(search.get(), &found));
}

} // namespace
