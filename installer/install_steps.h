#pragma once

#include <torvalink/CResDll.h>
#include <torvalink/handles.h>
#include <torvalink/raised_error.h>
#include <torvalink/text.h>

#include "resource_core.h"

#include <windows.h>

#include <utility>

namespace torvalink {

// The file operations in which the two install procedures differ.
class InstallFiles {
public:
    virtual ~InstallFiles() = default;
    virtual Status Exists(const Text& path, bool& exists) = 0;
    // Replaces the destination.
    virtual Status Copy(const Text& source, const Text& destination) = 0;
    // A missing file or one that cannot be deleted fails.
    virtual Status Delete(const Text& path) = 0;
};

inline constexpr wchar_t PayloadFileName[] = L"TORVALINK.ocx";

// What a run came to: a failure that ended it, which the user is still to
// be told of; or, where none did, `result`: S_OK when the carried version is
// installed and registered, or the installed copy was already as new; else
// the failed copy's number as an HRESULT, or what the registration came to
// (RegisterDll).
struct InstallOutcome {
    InstallOutcome() = default;
    InstallOutcome(Status stopped) : failure(std::move(stopped)) {}
    explicit InstallOutcome(HRESULT outcome) : result(outcome) {}

    Status failure;
    HRESULT result = S_OK;
};

// Writes the payload to `temporary`, and when its version text sorts after the
// installed copy's, unregisters that copy, copies the new one over it and
// registers it; when that registration fails, puts the older copy back and
// registers it again; then deletes `temporary`. Stops with the failure when the
// payload could not be written, or when `temporary` does not hold exactly its
// bytes; from the write until the copy has finished, nobody else can change it.
InstallOutcome InstallPayload(CResDll& resources, const Text& target, const Text& temporary, InstallFiles& files);

// Opens the written payload so that no other process can change, replace or
// delete it while it is held (read sharing only), and makes sure that it holds
// exactly the bytes that the save wrote: between the save and this open
// another process could have put other bytes there (75 then).
Status HoldPayload(const Text& path, const ResourceBytes& saved, UniqueFile& held);

} // namespace torvalink
