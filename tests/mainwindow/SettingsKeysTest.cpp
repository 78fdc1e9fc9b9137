#include <gtest/gtest.h>

#include "common/RemovedObjectsCounter.h"
#include "common/SettingsKeys.h"
#include "support/FakePlatform.h"

namespace tarnwk {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    test::FakeSettingsStore store;
    Settings settings{store};
};

TEST_F(SettingsTest, EmptyStoreGivesTheDefaults) {
    EXPECT_EQ(settings.text(Setting::LASTRUN), "Never");
    EXPECT_EQ(settings.text(Setting::SCANCOUNT), "0");
    EXPECT_EQ(settings.text(Setting::TOTALOBJECTSREMOVED), "0");
    for (Setting off :
         {Setting::AUTORUN, Setting::AUTOSCAN, Setting::AUTOUPDATE, Setting::AUTOLOG}) {
        EXPECT_FALSE(settings.isOn(off));
        EXPECT_EQ(settings.checkBoxState(off), 0);
    }
    EXPECT_TRUE(settings.isOn(Setting::AUTOSHOW));
    EXPECT_EQ(settings.checkBoxState(Setting::AUTOSHOW), 1);
}

TEST_F(SettingsTest, StoredUnderTheApplicationTitleAndSection) {
    EXPECT_TRUE(settings.save(Setting::AUTOLOG, "1"));
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "AUTOLOG", "x"), "1");
}

TEST_F(SettingsTest, OnOnlyWhenNumericallyOne) {
    const std::pair<const char*, bool> cases[] = {{"1", true},  {"1.0", true}, {" 1 ", true},
                                                  {"0", false}, {"2", false},  {"0.5", false},
                                                  {"-1", false}};
    for (const auto& [text, on] : cases) {
        settings.save(Setting::AUTOSCAN, text);
        EXPECT_EQ(settings.isOn(Setting::AUTOSCAN), on) << text;
    }
}

TEST_F(SettingsTest, TextThatIsNotANumberFallsBackToTheDefault) {
    for (const char* text : {"yes", "", "1x", "nan", "inf", "1e999"}) {
        settings.save(Setting::AUTOSHOW, text);
        settings.save(Setting::AUTOUPDATE, text);
        EXPECT_TRUE(settings.isOn(Setting::AUTOSHOW)) << text;
        EXPECT_FALSE(settings.isOn(Setting::AUTOUPDATE)) << text;
        EXPECT_EQ(settings.checkBoxState(Setting::AUTOSHOW), 1) << text;
    }
    settings.save(Setting::SCANCOUNT, "many");
    EXPECT_EQ(settings.number(Setting::SCANCOUNT), 0.0);
}

TEST_F(SettingsTest, RemovedObjectsCounterLoadsSavesAndNeverWraps) {
    RemovedObjectsCounter counter;
    settings.save(Setting::TOTALOBJECTSREMOVED, "41");
    counter.load(settings);
    counter.add(1);
    EXPECT_TRUE(counter.save(settings));
    EXPECT_EQ(settings.text(Setting::TOTALOBJECTSREMOVED), "42");

    counter.add(2147483647);
    EXPECT_EQ(counter.value(), 2147483647);
    settings.save(Setting::TOTALOBJECTSREMOVED, "99999999999");
    counter.load(settings);
    EXPECT_EQ(counter.value(), 0);
}

}  // namespace
}  // namespace tarnwk
