#include "platform/win32/Win32Messages.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {

unsigned messageBoxStyle(platform::MessageButtons buttons, platform::MessageIcon icon) {
    unsigned style = MB_SETFOREGROUND;
    switch (buttons) {
        case platform::MessageButtons::Ok:
            style |= MB_OK;
            break;
        case platform::MessageButtons::OkCancel:
            style |= MB_OKCANCEL;
            break;
        case platform::MessageButtons::YesNo:
            style |= MB_YESNO | MB_DEFBUTTON1;
            break;
    }
    switch (icon) {
        case platform::MessageIcon::None:
            break;
        case platform::MessageIcon::Critical:
            style |= MB_ICONERROR;
            break;
        case platform::MessageIcon::Information:
            style |= MB_ICONINFORMATION;
            break;
    }
    return style;
}

platform::MessageResult messageBoxResult(int answer, platform::MessageButtons buttons) {
    switch (answer) {
        case IDYES:
            return platform::MessageResult::Yes;
        case IDNO:
            return platform::MessageResult::No;
        case IDCANCEL:
            return platform::MessageResult::Cancel;
        case IDOK:
            return platform::MessageResult::Ok;
        default:
            // A box that could not be shown answers as if closed.
            return buttons == platform::MessageButtons::YesNo      ? platform::MessageResult::No
                   : buttons == platform::MessageButtons::OkCancel ? platform::MessageResult::Cancel
                                                                   : platform::MessageResult::Ok;
    }
}

Win32Messages::Win32Messages(std::string title) : title_(std::move(title)) {}

platform::MessageResult Win32Messages::messageBox(std::string_view text,
                                                  platform::MessageButtons buttons,
                                                  platform::MessageIcon icon) {
    const std::wstring wideText = toWide(text);
    const std::wstring caption = toWide(title_);
    const int answer =
        MessageBoxW(static_cast<HWND>(owner_), wideText.c_str(), caption.c_str(),
                    messageBoxStyle(buttons, icon) | (owner_ ? MB_APPLMODAL : MB_TASKMODAL));
    return messageBoxResult(answer, buttons);
}

void Win32Messages::endProgram(int exitCode) {
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace tarnwk::win32
