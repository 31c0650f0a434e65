#pragma once

#include "byte_buffer.h"

#include <windows.h>

#include <string>

// A fresh directory under the temporary folder, removed with its files when the test ends.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// The whole file, or nothing when it cannot be read.
ByteBuffer ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const ByteBuffer& bytes);
bool FileExists(const std::wstring& path);
