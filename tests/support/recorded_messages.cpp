#include "recorded_messages.h"

#include "message_box.h"

#include <mutex>

namespace torvalink {

namespace {

std::mutex guard;
std::vector<ShownMessage> shown;

} // namespace

int ShowMessage(const Text& prompt, UINT style, const Text& title)
{
    const std::lock_guard<std::mutex> lock(guard);
    shown.push_back({prompt, style, title});
    return IDOK;
}

std::vector<ShownMessage> RecordedMessages()
{
    const std::lock_guard<std::mutex> lock(guard);
    return shown;
}

void ClearRecordedMessages()
{
    const std::lock_guard<std::mutex> lock(guard);
    shown.clear();
}

} // namespace torvalink
