// Reads a resource of its own with CResDll and checks it byte for byte, then a
// picture. Exits with 0 when both come back as expected; otherwise says why
// and exits with 1.

#include "resources.h"

#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>

#include <cstddef>
#include <iostream>
#include <string>
#include <string_view>

using namespace torvalink;

namespace {

// False, after saying why, when the last CResDll member failed.
bool Succeeded(const char* call)
{
    const RaisedError& error = CurrentError();
    if (error.Number == 0)
        return true;
    std::string description; // in ASCII, enough to tell the failure
    for (wchar_t c : error.Description)
        description += c < 0x80 ? static_cast<char>(c) : '?';
    std::cerr << call << " failed with error " << error.Number << ": " << description << '\n';
    return false;
}

} // namespace

int main()
{
    constexpr std::string_view expected = GREETING_TEXT;

    CResDll resources; // bound to no library: it reads the running executable
    const ByteBuffer read = resources.LoadDllData(GREETING_ID, L"" GREETING_TYPE);
    if (!Succeeded("LoadDllData"))
        return 1;
    if (read.size() != expected.size()) {
        std::cerr << "resource " << GREETING_ID << " has " << read.size() << " bytes, expected " << expected.size()
                  << '\n';
        return 1;
    }
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (read[i] != static_cast<unsigned char>(expected[i])) {
            std::cerr << "resource " << GREETING_ID << " differs at byte " << i << ": " << unsigned{read[i]}
                      << ", expected " << unsigned{static_cast<unsigned char>(expected[i])} << '\n';
            return 1;
        }
    }
    std::cout << "resource " << GREETING_ID << " (" << read.size() << " bytes): " << expected;

    // Pictures: an unbound object reads the platform's own images (as a null
    // module handle means for LoadIcon), here the standard application icon.
    const PictureRef picture = resources.LoadDllIcon(32512); // IDI_APPLICATION
    if (!Succeeded("LoadDllIcon"))
        return 1;
    Microsoft::WRL::ComPtr<IPicture> icon;
    SHORT type = PICTYPE_UNINITIALIZED;
    if (!picture || FAILED(picture.As(&icon)) || FAILED(icon->get_Type(&type)) || type != PICTYPE_ICON) {
        std::cerr << "the application icon did not come back as an icon picture\n";
        return 1;
    }
    std::cout << "the platform's application icon: an icon picture\n";
    return 0;
}
