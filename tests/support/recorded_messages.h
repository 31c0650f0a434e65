#pragma once

#include <torvalink/text.h>

#include <windows.h>

#include <functional>
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
// Also forgets what WhileShown was given.
void ClearRecordedMessages();
// Runs during each message from now on, as if the user took that long to answer.
void WhileShown(std::function<void(const ShownMessage&)> answer);

} // namespace torvalink
