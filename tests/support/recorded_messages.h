#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Test executables link this in place of the real message box: ShowMessage
// records what would have been shown and answers OK.
struct ShownMessage {
    std::wstring prompt;
    UINT style;
    std::wstring title;
};

std::vector<ShownMessage> RecordedMessages();
void ClearRecordedMessages();
