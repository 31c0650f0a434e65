#include "install_steps.h"

#include "current_error.h"
#include "modInfoFileVersion.h"
#include "modRegisterDll.h"

namespace {

constexpr std::int16_t PayloadResourceId = 101;

Text PaddedVersion(const Text& path)
{
    const std::int16_t shortForm = 0;
    return GetFileVersionText(path, shortForm);
}

} // namespace

Status InstallPayload(CResDll& resources, const Text& target, const Text& temporary, InstallFiles& files)
{
    // A failed save shows up below as a missing version and a failed deletion.
    resources.SaveDllData(PayloadResourceId, temporary, L"CUSTOM", true);

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

    return files.Delete(temporary);
}
