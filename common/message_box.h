#pragma once

#include <windows.h>

#include <string>

// Every message the program shows goes through here: a modal message box with
// the prompt, style and title given. The tests link a recorder in its place.
int ShowMessage(const std::wstring& prompt, UINT style, const std::wstring& title);
