// The few C library functions that compiled code calls on its own (for
// copies, fills and comparisons of memory), in place of the C run-time's.
// This file is built so that the compiler does not turn these loops back
// into calls of themselves.

#include <cstddef>

extern "C" {

void* memcpy(void* destination, const void* source, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    while (count--)
        *to++ = *from++;
    return destination;
}

void* memmove(void* destination, const void* source, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    if (to < from || to >= from + count)
        return memcpy(destination, source, count);
    while (count--)
        to[count] = from[count];
    return destination;
}

void* memset(void* destination, int value, std::size_t count)
{
    auto* to = static_cast<unsigned char*>(destination);
    while (count--)
        *to++ = static_cast<unsigned char>(value);
    return destination;
}

int memcmp(const void* left, const void* right, std::size_t count)
{
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    for (; count; --count, ++a, ++b)
        if (*a != *b)
            return *a < *b ? -1 : 1;
    return 0;
}

std::size_t strlen(const char* text)
{
    const char* end = text;
    while (*end)
        ++end;
    return static_cast<std::size_t>(end - text);
}

void* memchr(const void* memory, int value, std::size_t count)
{
    const auto* byte = static_cast<const unsigned char*>(memory);
    for (; count; --count, ++byte)
        if (*byte == static_cast<unsigned char>(value))
            return const_cast<unsigned char*>(byte);
    return nullptr;
}

std::size_t wcslen(const wchar_t* text)
{
    const wchar_t* end = text;
    while (*end)
        ++end;
    return static_cast<std::size_t>(end - text);
}

} // extern "C"
