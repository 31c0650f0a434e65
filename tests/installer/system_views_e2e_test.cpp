// The i686 installer as most of its users run it: a 32-bit program on 64-bit
// Windows (WoW64), where the system folder it sees is the 32-bit one and the
// registration of its control goes to the 32-bit view of the registry.

#include <torvalink/handles.h>
#include "installed_control.h"
#include "print_text.h"
#include "test_controls.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

// What the 64-bit side of the system has: its system folder, unredirected.
class Native64BitFiles {
public:
    Native64BitFiles() { disabled_ = Wow64DisableWow64FsRedirection(&previous_) != FALSE; }
    ~Native64BitFiles()
    {
        if (disabled_)
            Wow64RevertWow64FsRedirection(previous_);
    }
    Native64BitFiles(const Native64BitFiles&) = delete;
    Native64BitFiles& operator=(const Native64BitFiles&) = delete;
    bool Disabled() const { return disabled_; }

private:
    void* previous_ = nullptr;
    bool disabled_ = false;
};

bool ClassKeyInView(REGSAM view, const Text& subkey = L"")
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExW(HKEY_CLASSES_ROOT, (ClassKey + subkey).c_str(), 0, KEY_READ | view, &opened);
    const UniqueKey key(result == ERROR_SUCCESS ? opened : nullptr);
    return key != nullptr;
}

Text Wow64SystemFolder()
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemWow64DirectoryW(folder, MAX_PATH);
    return Text(folder, length < MAX_PATH ? length : 0);
}

class OnWow64 : public InstalledControlTest {
protected:
    void SetUp() override
    {
        BOOL wow64 = FALSE;
        ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
        ASSERT_TRUE(wow64) << "these tests run as a 32-bit program on 64-bit Windows";
        InstalledControlTest::SetUp();
        ASSERT_FALSE(FileExists(nativeTarget()));
        ASSERT_FALSE(ClassKeyInView(KEY_WOW64_64KEY));
    }

    Text wow64Target = Wow64SystemFolder() + L"\\TORVALINK.ocx";
    // The 64-bit system folder's copy, if one were there.
    Text nativeTarget() const { return SystemFolder() + L"\\TORVALINK.ocx"; }
    bool NativeTargetExists() const
    {
        const Native64BitFiles native;
        EXPECT_TRUE(native.Disabled());
        return FileExists(nativeTarget());
    }
};

// The installed copy before the run, and what the run must leave: the control
// in the 32-bit system folder, registered (or not) in the 32-bit view only.
TEST_F(OnWow64, InstallsInto32BitSystemFolderAndRegistersIn32BitView)
{
    struct Case {
        const char* installed;
        const wchar_t* fixture; // null: none
        const wchar_t* left;    // the file the target holds afterwards
        const wchar_t* trace;
        bool registered;
    };
    const Case cases[] = {
        {"none", nullptr, L"TORVALINK.ocx", L"", true},
        {"the same version", L"TORVALINK.ocx", L"TORVALINK.ocx", L"", false},
        {"an older version", OlderControl, L"TORVALINK.ocx", L"unregister older\r\n", true},
        {"a newer version", NewerControl, NewerControl, L"", false},
    };
    ASSERT_NE(Wow64SystemFolder(), L"");
    ASSERT_NE(Wow64SystemFolder(), SystemFolder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installed);
        CleanUp();
        if (c.fixture)
            WriteFileBytes(target, ReadFileBytes(BesideTestExe(c.fixture)));
        const WatchedRun run = Run();
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_TRUE(run.messages.empty());
        EXPECT_EQ(ReadFileBytes(wow64Target), ReadFileBytes(BesideTestExe(c.left)));
        EXPECT_FALSE(NativeTargetExists()) << "nothing may be written to the 64-bit system folder";
        EXPECT_EQ(TraceText(), c.trace);
        EXPECT_EQ(ClassKeyInView(KEY_WOW64_32KEY, L"\\InprocServer32"), c.registered);
        EXPECT_FALSE(ClassKeyInView(KEY_WOW64_64KEY)) << "nothing may be registered in the 64-bit view";
        EXPECT_FALSE(FileExists(temporary));
    }
}

TEST_F(OnWow64, A32BitClientCreatesTheInstalledControl)
{
    const WatchedRun run = Run();
    ASSERT_EQ(run.exitCode, 0u);
    EXPECT_EQ(CreateInstalledControl(), S_OK);
}

// Every 64-bit Windows is of the NT family from 5.2 on: each takes the special
// folders, and so the 32-bit system folder.
TEST_F(OnWow64, EachNtVersionTakesTheSpecialFolders)
{
    for (const wchar_t* version : {L"win2003", L"vista", L"win7", L"win8", L"win10"}) {
        SCOPED_TRACE(testing::PrintToString(Text(version)));
        CleanUp();
        const WatchedRun run = Run(version);
        EXPECT_TRUE(run.messages.empty());
        EXPECT_EQ(ReadFileBytes(wow64Target), payload);
        EXPECT_FALSE(NativeTargetExists());
        EXPECT_TRUE(ClassKeyInView(KEY_WOW64_32KEY, L"\\InprocServer32"));
        EXPECT_FALSE(ClassKeyInView(KEY_WOW64_64KEY));
    }
}

} // namespace
