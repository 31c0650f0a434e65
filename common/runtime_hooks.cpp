// The C++ runtime's terminate handler, linked into the executables in place of
// libstdc++'s verbose one. Statically linked, that one brings in the C++
// demangler and printf to describe an uncaught exception on a console that a
// GUI program does not have: about 60 KB, more than the installer's own code.

#include <cstdlib>

namespace __gnu_cxx {

// An exception that nothing caught: end at once, as the default handler does
// once it has printed.
void __verbose_terminate_handler()
{
    std::abort();
}

} // namespace __gnu_cxx
