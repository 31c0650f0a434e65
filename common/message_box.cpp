#include "message_box.h"

namespace torvalink {

int ShowMessage(const Text& prompt, UINT style, const Text& title)
{
    return MessageBoxW(nullptr, prompt.c_str(), title.c_str(), style);
}

} // namespace torvalink
