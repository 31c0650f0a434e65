#include "message_box_watcher.h"

#include <torvalink/handles.h>

#include <set>

namespace torvalink {

namespace {

Text WindowText(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

struct Search {
    DWORD processId;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[32] = L"";
    GetClassNameW(window, className, 32);
    if (owner == search.processId && Text(className) == L"#32770" && IsWindowVisible(window))
        search.dialogs.push_back(window);
    return TRUE;
}

} // namespace

WatchedRun RunAndAnswerMessageBoxes(const Text& program, DWORD timeLimitMs,
                                    const std::function<void(const WatchedRun::Message&)>& onAnswered)
{
    WatchedRun run;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    Text commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return run;
    const UniqueHandle process(started.hProcess), thread(started.hThread);

    std::set<HWND> answered;
    const ULONGLONG deadline = GetTickCount64() + timeLimitMs;
    while (WaitForSingleObject(process.get(), 50) == WAIT_TIMEOUT) {
        if (GetTickCount64() > deadline) {
            TerminateProcess(process.get(), 999);
            WaitForSingleObject(process.get(), INFINITE);
            return run;
        }
        Search search{started.dwProcessId, {}};
        EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
        for (HWND dialog : search.dialogs) {
            if (!answered.insert(dialog).second)
                continue;
            // The message text is the dialog's static control with identifier 0xFFFF.
            run.messages.push_back({WindowText(dialog), WindowText(GetDlgItem(dialog, 0xFFFF))});
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            if (onAnswered)
                onAnswered(run.messages.back());
        }
    }
    GetExitCodeProcess(process.get(), &run.exitCode);
    run.finished = true;
    return run;
}

} // namespace torvalink
