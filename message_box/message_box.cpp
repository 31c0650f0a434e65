#include "message_box.h"

#include "message_display.h"

namespace torvalink {

int ShowMessage(const Text& prompt, UINT style, const Text& title)
{
    return DisplayMessage(prompt.c_str(), style, title.c_str());
}

} // namespace torvalink
