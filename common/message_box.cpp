#include "message_box.h"

int ShowMessage(const std::wstring& prompt, UINT style, const std::wstring& title)
{
    return MessageBoxW(nullptr, prompt.c_str(), title.c_str(), style);
}
