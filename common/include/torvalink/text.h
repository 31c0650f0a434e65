#pragma once

// The program's text types. They are std::basic_string and std::basic_string_view
// with traits of their own, so that the compiler builds just the members the
// program uses. Text and AnsiText would link libstdc++'s prebuilt
// instantiations whole, with the exception classes they throw: about 120 KB,
// more than all the rest of the installer.

#include <string>
#include <string_view>

namespace torvalink {

struct TextTraits : std::char_traits<wchar_t> {};
struct AnsiTraits : std::char_traits<char> {};

// Unicode text, as everywhere inside the program.
using Text = std::basic_string<wchar_t, TextTraits>;
using TextView = std::basic_string_view<wchar_t, TextTraits>;

// Text in the system's ANSI code page, for the Windows functions that take it.
using AnsiText = std::basic_string<char, AnsiTraits>;
using AnsiView = std::basic_string_view<char, AnsiTraits>;

// A text handed to the library by its user: the program's Text, a standard
// wide string or a literal, all taken alike.
class TextArg {
public:
    TextArg(const wchar_t* text) : text_(text) {}
    TextArg(const Text& text) : text_(text) {}
    TextArg(const std::wstring& text) : text_(text.data(), text.size()) {}
    TextArg(std::wstring_view text) : text_(text.data(), text.size()) {}

    const Text& text() const noexcept { return text_; }
    operator const Text&() const noexcept { return text_; }

private:
    Text text_;
};

} // namespace torvalink
