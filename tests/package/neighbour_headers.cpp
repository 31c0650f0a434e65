// A project with headers and macros of its own beside TorvaLink's: its
// RETURN_IF_FAILED and its own text.h, handles.h and the like (stand_in/, first
// on the include path, each an #error) must not meet TorvaLink's headers.

#include "result_macros.h"

#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>

long ReadsAResourceBesideItsOwnMacros()
{
    RETURN_IF_FAILED(-1L);
    torvalink::CResDll resources;
    return static_cast<long>(resources.LoadDllData(101).size()) + torvalink::CurrentError().Number;
}
