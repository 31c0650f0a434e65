#pragma once

// Stands in for another library's error-handling header that defines macros of
// common names.
#define RETURN_IF_FAILED(hr)                                                                                           \
    do {                                                                                                               \
        const long stand_in_hr = (hr);                                                                                 \
        if (stand_in_hr < 0)                                                                                           \
            return stand_in_hr;                                                                                        \
    } while (0)
