#pragma once

#include <torvalink/byte_buffer.h>
#include "message_box_watcher.h"
#include "scratch_dir.h"
#include "test_paths.h"
#include <torvalink/text.h>

#include <gtest/gtest.h>

#include <vector>

namespace torvalink {

// What the end-to-end tests look at in the test prefix: the control that the
// installers put into the system folder, its registration, the trace that
// the traced copies write, and the Wine settings the tests give the installers.

extern const Text ClassKey;    // under HKEY_CLASSES_ROOT
extern const Text TraceFile;   // what the traced copies' registration entries ran
extern const Text FixedFolder; // the system folder of the fixed-paths procedure

Text SystemFolder();
// The temporary folder, without the closing backslash.
Text TempFolder();
Text TraceText();
// Whether ClassKey, or a key below it (SUBKEY starts with a backslash), exists.
bool ClassKeyExists(const Text& subkey = L"");
// What creating the installed control by its ProgID, in process, gives: S_OK
// when it was created (then released again).
HRESULT CreateInstalledControl();
// The files that are to be deleted when Windows next starts, as the session
// manager reads them ("\??\C:\windows\...").
std::vector<Text> PendingDeletions();
// A setting of Wine's for one program; a null value removes it.
void SetAppSetting(const Text& exe, const Text& subkey, const wchar_t* name, const wchar_t* value);

// Each test starts and ends without an installed control, its registration,
// its temporary files, the copies kept or put aside beside it, deletions
// waiting for a restart or the installers' settings.
class InstalledControlTest : public ::testing::Test {
protected:
    const Text target = SystemFolder() + L"\\TORVALINK.ocx";
    const Text temporary = TempFolder() + L"\\TORVALINK.ocx";
    const Text fixedTarget = FixedFolder + L"\\TORVALINK.ocx";
    const Text fixedTemporary = L"C:\\TORVALINK.ocx";
    const ByteBuffer payload = ReadFileBytes(BesideTestExe(L"TORVALINK.ocx"));

    void SetUp() override;
    void TearDown() override;
    void CleanUp();

    // Runs an installer beside the test executable, under the Windows version
    // that Wine reports to it (null: Wine's own), answering its message boxes.
    static WatchedRun Run(const wchar_t* windowsVersion = nullptr, const wchar_t* exe = L"Setup_TORVALINK.exe");
};

} // namespace torvalink
