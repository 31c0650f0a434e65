#pragma once

#include <torvalink/byte_buffer.h>
#include <torvalink/text.h>

#include <windows.h>

namespace torvalink {

// A fresh directory under the temporary folder, removed with its files when the test ends.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const Text& Path() const { return path_; }
    Text operator/(const Text& name) const { return path_ + L"\\" + name; }

private:
    Text path_;
};

// The whole file, or nothing when it cannot be read.
ByteBuffer ReadFileBytes(const Text& path);
void WriteFileBytes(const Text& path, const ByteBuffer& bytes);
bool FileExists(const Text& path);

} // namespace torvalink
