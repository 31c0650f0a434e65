#include "library_functions.h"

#include "proc_address.h"
#include "system_library.h"

#include <atomic>

namespace torvalink {

namespace {

// A table looked up once from its library. For version.dll and winmm.dll the
// library is the one that system_library.h resolves, which tests may replace:
// the table follows it (looked up again, while the test runs alone).
template <class Table> class OnceTable {
public:
    template <class Fill> Table Get(HMODULE library, Fill fill)
    {
        for (;;) {
            if (filled_.load(std::memory_order_acquire) && from_.load(std::memory_order_relaxed) == library)
                return table_;
            if (filling_.exchange(1, std::memory_order_acquire) == 0) {
                filled_.store(false, std::memory_order_relaxed);
                table_ = library ? fill(library) : Table{};
                from_.store(library, std::memory_order_relaxed);
                filled_.store(true, std::memory_order_release);
                filling_.store(0, std::memory_order_release);
                return table_;
            }
            Sleep(0);
        }
    }

private:
    Table table_;
    std::atomic<HMODULE> from_{nullptr};
    std::atomic<bool> filled_{false};
    std::atomic<LONG> filling_{0};
};

OnceTable<UserFunctions> UserTable;
OnceTable<VersionFunctions> VersionTable;
OnceTable<WinmmFunctions> WinmmTable;

} // namespace

UserFunctions LookUpUserFunctions()
{
    return UserTable.Get(GetModuleHandleA("user32.dll"), [](HMODULE user) {
        UserFunctions table;
        table.GetProcessWindowStation = ProcAddress<HWINSTA WINAPI()>(user, "GetProcessWindowStation");
        table.GetUserObjectInformationW =
            ProcAddress<BOOL WINAPI(HANDLE, int, PVOID, DWORD, LPDWORD)>(user, "GetUserObjectInformationW");
        return table;
    });
}

VersionFunctions LookUpVersionFunctions()
{
    return VersionTable.Get(SystemLibrary(RunTimeLibrary::Version), [](HMODULE version) {
        VersionFunctions table;
        table.GetFileVersionInfoSizeW =
            ProcAddress<decltype(::GetFileVersionInfoSizeW)>(version, "GetFileVersionInfoSizeW");
        table.GetFileVersionInfoW = ProcAddress<decltype(::GetFileVersionInfoW)>(version, "GetFileVersionInfoW");
        table.VerQueryValueW = ProcAddress<decltype(::VerQueryValueW)>(version, "VerQueryValueW");
        table.GetFileVersionInfoSizeA =
            ProcAddress<decltype(::GetFileVersionInfoSizeA)>(version, "GetFileVersionInfoSizeA");
        table.GetFileVersionInfoA = ProcAddress<decltype(::GetFileVersionInfoA)>(version, "GetFileVersionInfoA");
        table.VerQueryValueA = ProcAddress<decltype(::VerQueryValueA)>(version, "VerQueryValueA");
        return table;
    });
}

WinmmFunctions LookUpWinmmFunctions()
{
    return WinmmTable.Get(SystemLibrary(RunTimeLibrary::Winmm), [](HMODULE winmm) {
        WinmmFunctions table;
        table.PlaySoundA = ProcAddress<decltype(::PlaySoundA)>(winmm, "PlaySoundA");
        return table;
    });
}

} // namespace torvalink
