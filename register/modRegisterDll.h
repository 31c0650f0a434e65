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

// RegisterDll with a wait of TimeoutMs milliseconds instead of 10 seconds: for
// the tests, which need not wait that long. RegisterDll passes its 10 seconds.
void RegisterDllWithTimeout(const Text& DllPath, const std::int32_t& Unregister, std::uint32_t TimeoutMs);

} // namespace torvalink
