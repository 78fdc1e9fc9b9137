// A form that holds one control of every kind, for the UI backends' tests:
// each backend builds it and is checked against the same declarations.
#pragma once

#include "platform/ui.h"

namespace tarnwk::test {

class ShowcaseForm : public ui::Form {
public:
    explicit ShowcaseForm(ui::Ui& ui, ui::FormStyle style = {}, std::string name = "frmtest")
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

    ui::Label lblPath{*this, "lblPath", {120, 120, 3000, 255}, "/home/user/A & B"};
    ui::Label lblNotes{*this, "lblNotes", {3240, 120, 1500, 975}, "One line\nanother line"};
    ui::Button cmdOk{*this, "cmdOk", {4920, 120, 1215, 375}, "&OK"};
    ui::CheckBox chkRemember{*this, "chkRemember", {4920, 600, 1815, 255}, "&Remember"};
    ui::Frame fraMode{*this, "fraMode", {120, 480, 3000, 1335}, "Choose Mode"};
    ui::OptionButton optFull{*this, "optFull", {240, 360, 2000, 255}, "Full"};
    ui::OptionButton optQuick{*this, "optQuick", {240, 840, 2000, 255}, "Quick"};
    ui::ListBox lstFound{*this, "lstFound", {3240, 1200, 3495, 930}, ui::SelectionMode::Simple};
    ui::ListBox lstSingle{*this, "lstSingle", {120, 1920, 3000, 570}, ui::SelectionMode::Single};
    ui::TabControl tabMain{*this, "tabMain", {120, 2640, 6615, 2175}, {"Status", "Scan", "About"}};
    ui::Label lblOnScan{*this, "lblOnScan", {360, 720, 2415, 255}, "On the scan page"};
    ui::Button cmdScan{*this, "cmdScan", {3000, 1320, 1215, 375}, "&Scan Now"};
    ui::PictureBox picBanner{*this, "picBanner", {3240, 2160, 3495, 435}, "banner"};
    ui::Label lblOnPicture{*this, "lblOnPicture", {60, 60, 1200, 255}, "Version 1.1"};
    ui::Label lblLink{*this, "lblLink", {120, 4920, 2175, 255}, "www.tarnwick.example"};
    ui::Line linSeparator{*this, "linSeparator", 2400, 5040, 6600, 5040};
    ui::StatusBar sbrStatus{*this, "sbrStatus", {0, 5250, 7000, 255}};
    ui::Timer tmrTick{*this, "tmrTick", 30};

    // What each handler has seen.
    int loads = 0, activations = 0, queryUnloads = 0, unloads = 0, ticks = 0;
    int okClicks = 0, rememberClicks = 0, linkClicks = 0, tabSelections = 0;
    // Form_QueryUnload cancels and hides the window, as a main window does.
    bool cancelUnload = false;

protected:
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
    void Form_QueryUnload(bool& cancel) override {
        ++queryUnloads;
        if (!cancelUnload) return;
        cancel = true;
        Hide();
    }
    void Form_Unload() override { ++unloads; }
};

}  // namespace tarnwk::test
