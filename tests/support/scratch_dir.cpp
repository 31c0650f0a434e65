#include "scratch_dir.h"

#include <torvalink/handles.h>
#include "number_text.h"

#include <gtest/gtest.h>

namespace torvalink {

namespace {

void RemoveTree(const Text& dir)
{
    WIN32_FIND_DATAW entry;
    const UniqueFind search(FindFirstFileW((dir + L"\\*").c_str(), &entry));
    if (search) {
        do {
            const Text name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const Text path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search.get(), &entry));
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

ScratchDir::ScratchDir()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static std::int32_t counter = 0;
    path_ = Text(temp) + L"torvalink-test-" + Decimal(static_cast<std::int32_t>(GetCurrentProcessId())) + L"-" +
            Decimal(++counter);
    RemoveTree(path_);
    EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << "cannot create the scratch directory";
}

ScratchDir::~ScratchDir()
{
    RemoveTree(path_);
}

ByteBuffer ReadFileBytes(const Text& path)
{
    ByteBuffer bytes;
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    if (!file)
        return bytes;
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty())
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

void WriteFileBytes(const Text& path, const ByteBuffer& bytes)
{
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << "cannot write the test file";
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    EXPECT_EQ(written, bytes.size());
}

bool FileExists(const Text& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace torvalink
