#pragma once

#include "text.h"

#include <cstdint>

namespace torvalink {

// Runs the DllRegisterServer entry of a library (Unregister 0) or its
// DllUnregisterServer entry (any other value) on a worker thread, and waits for
// it at most 10 seconds. Failures are reported in message boxes only. When the
// wait runs out the calling thread ends with the worker's exit code: the call
// never returns on that path. Unregister is only read.
void RegisterDll(const Text& DllPath, const std::int32_t& Unregister);

} // namespace torvalink
