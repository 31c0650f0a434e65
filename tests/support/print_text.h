#pragma once

// Lets GoogleTest show the program's Text in failure messages, as UTF-8.

#include <torvalink/text.h>

#include <windows.h>

#include <ostream>
#include <string>

namespace torvalink {

inline void PrintTo(const Text& text, std::ostream* out)
{
    std::string utf8(text.size() * 3, '\0');
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    *out << "L\"" << utf8 << "\"";
}

} // namespace torvalink
