// The C++ runtime's failure hooks, linked into the executables in place of
// libstdc++'s own. Statically linked, the library's versions bring in its
// exception classes, each with a second, reference-counted std::string and,
// through that, std::random_device; and the verbose terminate handler brings
// the C++ demangler and printf, to describe an uncaught exception on a console
// that a GUI program does not have. Together that is far more code than the
// installer's own. These report the same failures as the program's errors.

#include "raised_error.h"

#include <cstdlib>
#include <new>

namespace std {

// A string or vector asked to grow past its maximum size: memory that cannot be had.
void __throw_length_error(const char*)
{
    Raise(ErrOutOfMemory, L"Out of memory");
}

void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw std::bad_array_new_length();
}

// Out-of-range positions and null character pointers: errors in the program itself.
void __throw_logic_error(const char*)
{
    Raise(ErrInternal, L"Internal error");
}

void __throw_out_of_range_fmt(const char*, ...)
{
    Raise(ErrInternal, L"Internal error");
}

} // namespace std

namespace __gnu_cxx {

// An exception that nothing caught: end at once, as the default handler does
// once it has printed.
void __verbose_terminate_handler()
{
    std::abort();
}

} // namespace __gnu_cxx
