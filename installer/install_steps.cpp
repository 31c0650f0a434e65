#include "install_steps.h"

#include "current_error.h"
#include "failures.h"
#include "handles.h"
#include "modInfoFileVersion.h"
#include "modRegisterDll.h"
#include "named_files.h"

#include <cstring>

namespace torvalink {

namespace {

constexpr std::int16_t PayloadResourceId = 101;

Text PaddedVersion(const Text& path)
{
    const std::int16_t shortForm = 0;
    return GetFileVersionText(path, shortForm);
}

// Opens the written payload so that no other process can change, replace or
// delete it while it is held (read sharing only), and makes sure that it holds
// exactly the carried bytes: between the save and this open another process
// could have put other bytes there.
Status HoldPayload(const Text& path, UniqueFile& held)
{
    // The payload as this executable carries it.
    const HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(PayloadResourceId), "CUSTOM");
    const DWORD size = SizeofResource(nullptr, info);
    const void* carried = LockResource(LoadResource(nullptr, info));
    // One byte more than carried, so that a longer file shows.
    const std::unique_ptr<std::uint8_t[]> found(new std::uint8_t[size + 1]);
    DWORD read = 0;
    held = CreateNamedFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!held || !ReadFile(held.get(), found.get(), size + 1, &read, nullptr))
        return LastFileFailure();
    // Other bytes: "Path/File access error".
    const bool same = carried && read == size && std::memcmp(found.get(), carried, size) == 0;
    return same ? Status() : RunTimeFailure(ErrPathFileAccess);
}

} // namespace

Status InstallPayload(CResDll& resources, const Text& target, const Text& temporary, InstallFiles& files)
{
    // One run at a time: a second run waits here until the first has finished
    // and then goes on. The name holds for every session of the NT family from
    // version 5 (Windows 2000) on; the systems before it do not know its
    // Global\ prefix. GetVersion sets its high bit on Windows 95, 98 and Me and
    // gives the major version in its low byte.
    const DWORD version = GetVersion();
    const char* const name = "Global\\Setup_TORVALINK.Install";
    const UniqueHandle mutex(
        CreateMutexA(nullptr, FALSE, static_cast<std::int32_t>(version & 0x800000FF) >= 5 ? name : name + 7));
    // WAIT_ABANDONED: a run that ended without giving it back; ours all the same.
    if (!mutex || WaitForSingleObject(mutex.get(), INFINITE) == WAIT_FAILED)
        return LastWin32Failure();
    const MutexOwnership owned(mutex.get());

    // Only what was written is installed: a failed save may have left a file
    // that someone else put there.
    if (const std::int32_t saved = resources.SaveDllData(PayloadResourceId, temporary, L"CUSTOM", true))
        return RunTimeFailure(saved);
    UniqueFile held;
    RETURN_IF_FAILED(HoldPayload(temporary, held));

    const Text newVersion = PaddedVersion(temporary);
    Text installedVersion;
    bool installed = false;
    RETURN_IF_FAILED(files.Exists(target, installed));
    if (installed)
        installedVersion = PaddedVersion(target);

    // Ordinal comparison: padded version texts sort as the versions do, and
    // the empty text (no version) sorts first.
    if (newVersion > installedVersion) {
        RETURN_IF_FAILED(files.Exists(target, installed));
        if (installed) {
            const std::int32_t unregister = 1;
            RegisterDll(target, unregister);
        }
        // The one step whose failure is ignored: a target in use or read-only
        // keeps the installed copy, which is then registered again.
        IgnoreFailures([&] { return files.Copy(temporary, target); });
        const std::int32_t reregister = 0;
        RegisterDll(target, reregister);
    }

    // Held until here, past the copy: the deletion needs it closed.
    held.reset();
    return files.Delete(temporary);
}

} // namespace torvalink
