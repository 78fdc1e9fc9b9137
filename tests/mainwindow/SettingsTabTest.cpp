#include "mainwindow/MainWindowFixture.h"

namespace tarnwk::test {
namespace {

class SettingsTab : public MainWindowFixture {
protected:
    std::vector<ui::CheckBox*> boxes() {
        return {&main.chkrunonstart, &main.chkscanonstart, &main.chkautoupdate, &main.chkuselog,
                &main.chkautoshow};
    }
    static inline const std::vector<std::string> kKeys{"AUTORUN", "AUTOSCAN", "AUTOUPDATE",
                                                       "AUTOLOG", "AUTOSHOW"};
};

TEST_F(SettingsTab, AnEmptyStoreTicksOnlyShowMainWindow) {
    fake.startup.registered = true;
    startUp();
    EXPECT_EQ(main.chkrunonstart.value(), 0);
    EXPECT_EQ(main.chkscanonstart.value(), 0);
    EXPECT_EQ(main.chkautoupdate.value(), 0);
    EXPECT_EQ(main.chkuselog.value(), 0);
    EXPECT_EQ(main.chkautoshow.value(), 1);
    // The login registration follows the absent "AUTORUN".
    EXPECT_FALSE(fake.startup.registered);
    // Reading writes nothing.
    EXPECT_TRUE(fake.settings.values.empty());
}

TEST_F(SettingsTab, SavingStoresEveryBoxAndAppliesStartAtLoginAtOnce) {
    startUp();
    for (ui::CheckBox* box : boxes())
        if (box->value() == 0) box->click();
    main.cmdSavePrefs.click();
    for (const std::string& key : kKeys) EXPECT_EQ(stored(key), "1") << key;
    EXPECT_TRUE(fake.startup.registered);

    main.chkrunonstart.click();
    main.cmdSavePrefs.click();
    EXPECT_EQ(stored("AUTORUN"), "0");
    EXPECT_EQ(stored("AUTOSCAN"), "1");
    EXPECT_FALSE(fake.startup.registered);
    EXPECT_EQ(main.chkrunonstart.value(), 0);
    EXPECT_TRUE(fakeUi.shown.empty());
}

TEST_F(SettingsTab, UnsavedEditsAreLostAtTheNextActivation) {
    startUp();
    main.chkuselog.click();
    main.chkautoshow.click();
    leaveAndComeBack();
    EXPECT_EQ(main.chkuselog.value(), 0);
    EXPECT_EQ(main.chkautoshow.value(), 1);
    EXPECT_EQ(stored("AUTOLOG"), "(absent)");
}

TEST_F(SettingsTab, EachActivationPutsTheLoginRegistrationBackInLine) {
    fake.settings.saveSetting("Tarnwick", "SETTINGS", "AUTORUN", "1");
    startUp();
    EXPECT_TRUE(fake.startup.registered);
    // Removed outside the program: the next activation registers again.
    fake.startup.registered = false;
    leaveAndComeBack();
    EXPECT_TRUE(fake.startup.registered);
}

TEST_F(SettingsTab, StoredTextsThatAreNotNumbersReadAsTheDefaults) {
    fake.settings.saveSetting("Tarnwick", "SETTINGS", "AUTOSCAN", "yes");
    fake.settings.saveSetting("Tarnwick", "SETTINGS", "AUTOSHOW", "");
    startUp();
    EXPECT_EQ(main.chkscanonstart.value(), 0);
    EXPECT_EQ(main.chkautoshow.value(), 1);
}

}  // namespace
}  // namespace tarnwk::test
