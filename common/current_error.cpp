#include "current_error.h"

#include <exception>
#include <new>

RaisedError& CurrentError()
{
    thread_local RaisedError current;
    return current;
}

void ClearCurrentError()
{
    CurrentError() = RaisedError{};
}

RaisedError CaughtFailure()
{
    try {
        throw;
    } catch (const RaisedError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return RaisedError{ErrOutOfMemory, {}, L"Out of memory"};
    } catch (...) {
        return RaisedError{ErrInternal, {}, L"Internal error"};
    }
}
