// The Settings tab of the main window: the five preferences between the
// check boxes and the settings store.
#include <string>

#include "mainwindow/SetStartup.h"
#include "mainwindow/frmmain.h"

namespace tarnwk {

std::array<std::pair<ui::CheckBox*, Setting>, 5> frmmain::preferenceBoxes() {
    return {{{&chkrunonstart, Setting::AUTORUN},
             {&chkscanonstart, Setting::AUTOSCAN},
             {&chkautoupdate, Setting::AUTOUPDATE},
             {&chkuselog, Setting::AUTOLOG},
             {&chkautoshow, Setting::AUTOSHOW}}};
}

void frmmain::loadUserPrefs() {
    for (const auto& [box, setting] : preferenceBoxes())
        box->setValue(program_.settings.checkBoxState(setting));
    // The login registration follows the stored preference every time.
    SetStartup(program_.os.startup, chkrunonstart.value() == 1);
}

void frmmain::cmdSavePrefs_Click() {
    // Save Settings that saved nothing says so; the boxes then show what the
    // store still holds.
    std::string failure;
    for (const auto& [box, setting] : preferenceBoxes())
        if (!program_.settings.save(setting, std::to_string(box->value())) && failure.empty())
            failure = program_.settings.lastFailure();
    loadUserPrefs();
    if (!failure.empty())
        program_.ui.messageBox(std::string(kSettingsNotSavedMessage) + failure,
                               platform::MessageButtons::Ok, platform::MessageIcon::Critical);
}

}  // namespace tarnwk
