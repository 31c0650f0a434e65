#include "install_steps.h"

#include <torvalink/current_error.h>
#include "failures.h"
#include <torvalink/handles.h>
#include "kept_copy.h"
#include "modInfoFileVersion.h"
#include "modRegisterDll.h"
#include "named_files.h"
#include "resource_core.h"

#include <cstring>

namespace torvalink {

namespace {

constexpr std::int16_t PayloadResourceId = 101;

Text PaddedVersion(const Text& path)
{
    const std::int16_t shortForm = 0;
    return GetFileVersionText(path, shortForm);
}

} // namespace

Status HoldPayload(const Text& path, const ResourceBytes& saved, UniqueFile& held)
{
    // One byte more than saved, so that a longer file shows.
    const std::unique_ptr<std::uint8_t[]> found(new std::uint8_t[saved.size + 1]);
    DWORD read = 0;
    held = CreateNamedFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!held || !ReadFile(held.get(), found.get(), saved.size + 1, &read, nullptr))
        return LastFileFailure();
    // Other bytes: "Path/File access error".
    const bool same = read == saved.size && std::memcmp(found.get(), saved.data, saved.size) == 0;
    return same ? Status() : RunTimeFailure(ErrPathFileAccess);
}

InstallOutcome InstallPayload(CResDll& resources, const Text& target, const Text& temporary, InstallFiles& files)
{
    HRESULT outcome = S_OK;
    // SaveDllData's steps, keeping the bytes written. Only what was written is
    // installed: a failed save may have left a file that someone else put
    // there. The failure's number alone, as SaveDllData gives it.
    ResourceBytes saved;
    if (const std::int32_t failed =
            SaveResource(BoundModule(resources), PayloadResourceId, L"CUSTOM", temporary, true, saved).Number())
        return RunTimeFailure(failed);
    UniqueFile held;
    TORVALINK_RETURN_IF_FAILED(HoldPayload(temporary, saved, held));

    const Text newVersion = PaddedVersion(temporary);
    Text installedVersion;
    bool installed = false;
    TORVALINK_RETURN_IF_FAILED(files.Exists(target, installed));
    if (installed)
        installedVersion = PaddedVersion(target);

    // Ordinal comparison: padded version texts sort as the versions do, and
    // the empty text (no version) sorts first.
    if (newVersion > installedVersion) {
        TORVALINK_RETURN_IF_FAILED(files.Exists(target, installed));
        // What worked stays at hand until the new copy is registered. Where it
        // cannot be kept the update goes on as ever, with nothing to put back.
        KeptCopy kept;
        if (installed) {
            static_cast<void>(kept.Keep(target));
            const std::int32_t unregister = 1;
            RegisterDll(target, unregister);
        }
        // The one step whose failure is ignored: a target in use or read-only
        // keeps the installed copy, which is then registered again. The run
        // goes on, but its outcome is that failure: the update did not happen.
        const std::int32_t copyFailure = IgnoreFailures([&] { return files.Copy(temporary, target); }).Number;
        const std::int32_t reregister = 0;
        const HRESULT registered = RegisterDll(target, reregister);
        outcome = copyFailure != 0 ? NumberAsHResult(copyFailure) : registered;
        // The new copy would not register: the older one goes back and is
        // registered again, and the outcome stays the new copy's failure.
        if (copyFailure == 0 && FAILED(registered) && kept.Kept() && !kept.PutBack().Failed())
            RegisterDll(target, reregister);
    }

    // Held until here, past the copy: the deletion needs it closed.
    held.reset();
    TORVALINK_RETURN_IF_FAILED(files.Delete(temporary));
    return InstallOutcome(outcome);
}

} // namespace torvalink
