#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Runs a program to its end while answering its message boxes: each dialog
// (window class #32770) that the program opens has its title and text recorded
// and its OK button pressed.
struct WatchedRun {
    struct Message {
        std::wstring title;
        std::wstring text;
    };
    DWORD exitCode = 0;
    bool finished = false; // false: still running after the time limit, then ended
    std::vector<Message> messages;
};

WatchedRun RunAndAnswerMessageBoxes(const std::wstring& program, DWORD timeLimitMs = 60000);
