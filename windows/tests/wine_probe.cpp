// Asks Windows itself what the checks under Wine need to know, and prints
// it in UTF-8, a line for each item:
//
//   wine_probe shortcut LNK
//       the shortcut's target, its icon file and the icon's index
//   wine_probe message-box TITLE SECONDS
//       waits up to SECONDS for a message box titled TITLE, prints its
//       text and presses its OK button; exit status 1 when none came

#include <shlobj.h>
#include <windows.h>

#include <string>

namespace {

void say(const std::wstring& text) {
    const std::wstring line = text + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), utf8.data(), size, nullptr,
                        nullptr);
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

int shortcut(const wchar_t* path) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
        FAILED(file->Load(path, STGM_READ))) {
        say(L"cannot read the shortcut");
        return 1;
    }
    wchar_t target[MAX_PATH] = L"";
    wchar_t icon[MAX_PATH] = L"";
    int index = -1;
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetIconLocation(icon, MAX_PATH, &index);
    say(target);
    say(icon);
    say(std::to_wstring(index));
    file->Release();
    link->Release();
    return 0;
}

struct BoxSearch {
    const wchar_t* title;
    HWND box = nullptr;
};

BOOL CALLBACK findBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<BoxSearch*>(data);
    wchar_t name[64] = L"";
    wchar_t title[256] = L"";
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && std::wstring(name) == L"#32770" &&
        std::wstring(title) == search->title) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

// The text of a message box is the static control that has any; a control
// of another process answers WM_GETTEXT, not GetWindowText.
BOOL CALLBACK sayStaticText(HWND control, LPARAM) {
    wchar_t name[64] = L"";
    GetClassNameW(control, name, 64);
    wchar_t text[1024] = L"";
    DWORD_PTR length = 0;
    if (std::wstring(name) == L"Static" &&
        SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                            2000, &length) &&
        length > 0)
        say(text);
    return TRUE;
}

int messageBox(const wchar_t* title, int seconds) {
    BoxSearch search{title};
    for (DWORD start = GetTickCount(); GetTickCount() - start < DWORD(seconds) * 1000; Sleep(50)) {
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
        if (search.box != nullptr) break;
    }
    if (search.box == nullptr) return 1;
    EnumChildWindows(search.box, sayStaticText, 0);
    PostMessageW(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"shortcut") return shortcut(argv[2]);
    if (argc == 4 && std::wstring(argv[1]) == L"message-box")
        return messageBox(argv[2], _wtoi(argv[3]));
    say(L"usage: wine_probe shortcut LNK | message-box TITLE SECONDS");
    return 2;
}
