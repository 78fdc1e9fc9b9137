#include "mainwindow/frmmain.h"

#include "common/AppIdentity.h"
#include "mainwindow/AboutTexts.h"
#include "scan/ReferenceFile.h"

namespace tarnwk {
namespace {

inline constexpr int kClientWidth = 7335;
inline constexpr int kClientHeight = 6435;
inline constexpr std::string_view kHelpPage = "/tarnwickr/help.html";
inline constexpr std::string_view kProductPage = "/products/twk/";

}  // namespace

frmmain::frmmain(Program& program)
    : ui::Form(program.ui, "frmmain", std::string(kAppTitle), kClientWidth, kClientHeight),
      program_(program) {
    arrangeControls();
    wireHandlers();
    program_.mainWindow = this;
}

frmmain::~frmmain() {
    if (program_.mainWindow == this) program_.mainWindow = nullptr;
}

void frmmain::Form_Load() {
    setCaption(mainWindowCaption());
    lblappname.setCaption(mainWindowCaption());
    lblproginfo.setCaption(programInfoText());
    lbladdress.setCaption(makerAddressText());
    lblwarning.setCaption(legalWarningText());
    lblurl.setCaption(webAddressText(program_.serverBase));
    SSTab1.setTab(kStatusTab);
    // The load goes on past a folder that cannot be made: the quarantine
    // move then keeps every found file, and a log is simply not written. An
    // existing folder is left as it is.
    (void)program_.os.files.createFolder(program_.quarantineFolder());
    (void)program_.os.files.createFolder(program_.reportsFolder());
    // The hidden file list behind "Objects in quarantine:" reads the folder
    // whenever it is asked, so there is nothing to point at it here.
}

void frmmain::Form_Activate() {
    // A quarantine folder deleted while the program runs is made again, so the
    // next quarantine move has somewhere to go.
    (void)program_.os.files.createFolder(program_.quarantineFolder());
    readQuarantineList();
    showDefinitions();
    program_.totalObjectsRemoved.load(program_.settings);
    lblStatus_Removed.setCaption(std::to_string(program_.totalObjectsRemoved.value()));
    loadUserPrefs();
}

void frmmain::Form_QueryUnload(bool& cancel) {
    // The store's failures are not reported.
    (void)program_.totalObjectsRemoved.save(program_.settings);
    // Closing only hides the window; the tray keeps the program running.
    cancel = true;
    if (onCloseWithoutTray) {
        onCloseWithoutTray();
        return;
    }
    Hide();
}

void frmmain::loadReferenceFile() {
    program_.setDefinitions(tarnwk::loadReferenceFile(program_.os.files, program_.ui.backend(),
                                                      definitionsInUse(program_)));
}

void frmmain::cmdstartscan_Click() {
    scanRun_.cmdstartscan_Click(optfullscan.value());
}

void frmmain::cmdhelp_Click() {
    ShellOpen(program_.serverBase + std::string(kHelpPage));
}

void frmmain::lblurl_Click() {
    ShellOpen(program_.serverBase + std::string(kProductPage));
}

void frmmain::ShellOpen(const std::string& address) {
    program_.os.shell.open(address);
}

void frmmain::checkForUpdates() {
    if (onCheckForUpdates) onCheckForUpdates();
}

}  // namespace tarnwk
