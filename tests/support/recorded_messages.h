#pragma once

#include "text.h"

#include <windows.h>

#include <vector>

namespace torvalink {

// Test executables link this in place of the real message box: ShowMessage
// records what would have been shown and answers OK.
struct ShownMessage {
    Text prompt;
    UINT style;
    Text title;
};

std::vector<ShownMessage> RecordedMessages();
void ClearRecordedMessages();

} // namespace torvalink
