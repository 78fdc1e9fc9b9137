#include "support/ShowcaseForm.h"

namespace tarnwk::test {

ShowcaseForm::ShowcaseForm(ui::Ui& ui, ui::FormStyle style, std::string name)
    : ui::Form(ui, std::move(name), "Test Window", 7000, 5505, style) {
    optFull.placeIn(fraMode);
    optQuick.placeIn(fraMode);
    lblOnScan.placeOnTab(tabMain, 1);
    cmdScan.placeOnTab(tabMain, 1);
    lblOnPicture.placeIn(picBanner);
    lblOnPicture.whiteBackground = true;
    lblOnPicture.font.bold = true;
    fraMode.font.bold = true;
    lblLink.link = true;
    optFull.setValue(true);
    tmrTick.setEnabled(false);
    cmdOk.onClick = [this] { ++okClicks; };
    chkRemember.onClick = [this] { ++rememberClicks; };
    lblLink.onClick = [this] { ++linkClicks; };
    tabMain.onTabSelected = [this] { ++tabSelections; };
    tmrTick.onTimer = [this] { ++ticks; };
}

void ShowcaseForm::Form_QueryUnload(bool& cancel) {
    ++queryUnloads;
    if (!cancelUnload) return;
    cancel = true;
    Hide();
}

}  // namespace tarnwk::test
