#include "recorded_messages.h"

#include "message_box.h"

#include <mutex>

namespace torvalink {

namespace {

std::mutex guard;
std::vector<ShownMessage> shown;
std::function<void(const ShownMessage&)> whileShown;

} // namespace

int ShowMessage(const Text& prompt, UINT style, const Text& title)
{
    std::function<void(const ShownMessage&)> answer;
    {
        const std::lock_guard<std::mutex> lock(guard);
        shown.push_back({prompt, style, title});
        answer = whileShown;
    }
    if (answer)
        answer({prompt, style, title});
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
    whileShown = nullptr;
}

void WhileShown(std::function<void(const ShownMessage&)> answer)
{
    const std::lock_guard<std::mutex> lock(guard);
    whileShown = std::move(answer);
}

} // namespace torvalink
