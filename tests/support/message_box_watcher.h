#pragma once

#include <torvalink/text.h>

#include <windows.h>

#include <functional>
#include <vector>

namespace torvalink {

// Runs a program to its end while answering its message boxes: each dialog
// (window class #32770) that the program opens has its title and text recorded
// and its OK button pressed; then `onAnswered`, if given, is told of it.
struct WatchedRun {
    struct Message {
        Text title;
        Text text;
    };
    DWORD exitCode = 0;
    bool finished = false; // false: still running after the time limit, then ended
    std::vector<Message> messages;
};

WatchedRun RunAndAnswerMessageBoxes(const Text& program, DWORD timeLimitMs = 60000,
                                    const std::function<void(const WatchedRun::Message&)>& onAnswered = {});

} // namespace torvalink
