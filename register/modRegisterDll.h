#pragma once

#include <torvalink/text.h>

#include <windows.h>

#include <cstdint>

namespace torvalink {

// What a registration came to, besides what its message boxes say, for the
// process's exit code: S_OK, the entry's own failure (its HRESULT), or one of
// these outcomes of the runner's own.
inline constexpr HRESULT RegistrationLoadFailed = static_cast<HRESULT>(0x8007007E);   // ERROR_MOD_NOT_FOUND
inline constexpr HRESULT RegistrationEntryMissing = static_cast<HRESULT>(0x8007007F); // ERROR_PROC_NOT_FOUND
inline constexpr HRESULT RegistrationNoThread = static_cast<HRESULT>(0x8007009B);     // ERROR_TOO_MANY_TCBS
inline constexpr HRESULT RegistrationTimedOut = static_cast<HRESULT>(0x800705B4);     // ERROR_TIMEOUT

// How long RegisterDll waits for the entry: 10 seconds. Only installers built
// for the tests shorten it (their entry sets it first).
extern std::uint32_t RegistrationTimeoutMs;

// Runs the DllRegisterServer entry of a library (Unregister 0) or its
// DllUnregisterServer entry (any other value) on a worker thread, and waits for
// it at most RegistrationTimeoutMs. Failures are reported in message boxes. When the wait
// runs out the call never returns: the calling thread ends, and the process,
// when the worker has ended too, with RegistrationTimedOut. Unregister is only
// read.
HRESULT RegisterDll(const Text& DllPath, const std::int32_t& Unregister);

// For the tests: RegisterDll with its wait and its thread creation chosen.
struct RegistrationRunner {
    std::uint32_t timeoutMs = RegistrationTimeoutMs;
    decltype(&::CreateThread) createThread = ::CreateThread;
};
HRESULT RegisterDllWith(const Text& DllPath, const std::int32_t& Unregister, const RegistrationRunner& runner);

} // namespace torvalink
