#include "platform/posix/IniSettingsStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempFolder.h"

namespace tarnwk::test {
namespace {

using posix::IniSettingsStore;
namespace fs = std::filesystem;

// Names in `folder`, sorted; empty when it cannot be listed.
std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

class IniSettingsStoreTest : public ::testing::Test {
protected:
    // Each call reads through a new store, so nothing can come from memory.
    std::string readBack(std::string_view section, std::string_view key,
                         std::string_view defaultValue = "<default>") const {
        IniSettingsStore fresh(configHome);
        return fresh.getSetting("Tarnwick", section, key, defaultValue);
    }
    bool save(std::string_view section, std::string_view key, std::string_view value) const {
        IniSettingsStore store(configHome);
        return store.saveSetting("Tarnwick", section, key, value);
    }

    TempFolder temp;
    // Not created up front: the store must create it.
    const std::string configHome = temp / "config";
    const std::string appFolder = configHome + "/Tarnwick";
    const std::string iniFile = appFolder + "/Tarnwick.ini";
};

// ---- Values read back unchanged ----

const std::vector<std::string>& awkwardValues() {
    static const std::vector<std::string> values = {
        "",
        " ",
        "  leading blanks",
        "trailing blanks  ",
        " both ",
        "a=b=c",
        "=",
        "; not a comment",
        "# not a comment",
        "[SETTINGS]",
        "back\\slash",
        "\\",
        "ends in a backslash\\",
        "\\n is not a newline",
        "\\x41 is not an A",
        "\"",
        "\"\"",
        "\"quoted\"",
        "\"opening quote only",
        "closing quote only\"",
        "line one\nline two",
        "cr\r, crlf\r\n, lf\n",
        "\n",
        "\ttabs\t",
        "M\xC3\xBCnchen \xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93",
        std::string("nul\0inside", 10),
        "\x01\x1F\x7F",
        " \"mixed\\ \n\t=[x]; ",
        std::string(10000, 'x'),
    };
    return values;
}

TEST_F(IniSettingsStoreTest, AwkwardValuesReadBackUnchangedThroughANewStore) {
    const auto& values = awkwardValues();
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(save("SETTINGS", "Value" + std::to_string(i), values[i])) << i;
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(readBack("SETTINGS", "Value" + std::to_string(i)), values[i]) << "value " << i;
}

TEST_F(IniSettingsStoreTest, AwkwardValuesReplaceEachOther) {
    const auto& values = awkwardValues();
    for (const auto& value : values) {
        ASSERT_TRUE(save("SETTINGS", "Changing", value));
        EXPECT_EQ(readBack("SETTINGS", "Changing"), value);
    }
}

TEST_F(IniSettingsStoreTest, ValueCannotInjectSectionsOrKeys) {
    ASSERT_TRUE(save("SETTINGS", "Note", "x\n[Other]\nAutoRun=1\r\n[SETTINGS]\r\nLeft=9"));
    EXPECT_EQ(readBack("Other", "AutoRun"), "<default>");
    EXPECT_EQ(readBack("SETTINGS", "Left"), "<default>");
}

TEST_F(IniSettingsStoreTest, WritesAPlainIniFileInTheAppFolder) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(IniSettingsStore(configHome).iniPath("Tarnwick"), iniFile);
    EXPECT_EQ(readWholeFile(iniFile), "[SETTINGS]\nAutoRun=1\n");
}

// ---- Defaults ----

TEST_F(IniSettingsStoreTest, MissingFileGivesTheDefault) {
    EXPECT_EQ(readBack("SETTINGS", "AutoRun", "0"), "0");
    EXPECT_FALSE(fs::exists(configHome)) << "reading must not create anything";
}

TEST_F(IniSettingsStoreTest, AbsentAppSectionOrKeyGivesTheDefault) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    ASSERT_TRUE(save("Window", "Left", "10"));
    IniSettingsStore store(configHome);
    EXPECT_EQ(store.getSetting("OtherApp", "SETTINGS", "AutoRun", "d"), "d");
    EXPECT_EQ(store.getSetting("Tarnwick", "Missing", "AutoRun", "d"), "d");
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "Missing", "d"), "d");
    // A key of another section is not visible here.
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "Left", "d"), "d");
}

TEST_F(IniSettingsStoreTest, StoredEmptyValueIsNotTheDefault) {
    ASSERT_TRUE(save("SETTINGS", "Path", ""));
    EXPECT_EQ(readBack("SETTINGS", "Path", "default"), "");
}

TEST_F(IniSettingsStoreTest, NamesThatCannotBeReadBackAreRefused) {
    IniSettingsStore store(configHome);
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SETTINGS", "a=b", "1"));
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SETTINGS", "a\nb", "1"));
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SETTINGS", "[key", "1"));
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SETTINGS", "", "1"));
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SET]TINGS", "AutoRun", "1"));
    EXPECT_FALSE(store.saveSetting("../Escaped", "SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "a=b", "d"), "d");
    EXPECT_FALSE(fs::exists(configHome));
    EXPECT_FALSE(fs::exists(temp / "Escaped"));
}

// ---- Case ----

TEST_F(IniSettingsStoreTest, SectionAndKeyIgnoreCase) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(readBack("settings", "AUTORUN"), "1");

    ASSERT_TRUE(save("Settings", "autorun", "2"));
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "2");
    // Replaced in place, not written a second time.
    EXPECT_EQ(readWholeFile(iniFile), "[SETTINGS]\nAutoRun=2\n");
}

TEST_F(IniSettingsStoreTest, AppIgnoresCase) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    IniSettingsStore store(configHome);
    EXPECT_EQ(store.getSetting("TARNWICK", "SETTINGS", "AutoRun", "d"), "1");
    ASSERT_TRUE(store.saveSetting("tarnwick", "SETTINGS", "Left", "5"));
    EXPECT_EQ(entriesOf(configHome), std::vector<std::string>{"Tarnwick"});
    EXPECT_EQ(entriesOf(appFolder), std::vector<std::string>{"Tarnwick.ini"});
}

TEST_F(IniSettingsStoreTest, ExistingFolderAndFileInOtherCaseAreReused) {
    const std::string existing =
        temp.writeFile("config/tarnwick/TARNWICK.INI", "[Settings]\nautorun=yes\n");
    IniSettingsStore store(configHome);
    EXPECT_EQ(store.iniPath("Tarnwick"), existing);
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "AutoRun", "d"), "yes");

    ASSERT_TRUE(store.saveSetting("Tarnwick", "SETTINGS", "Left", "5"));
    EXPECT_EQ(entriesOf(configHome), std::vector<std::string>{"tarnwick"});
    EXPECT_EQ(entriesOf(configHome + "/tarnwick"), std::vector<std::string>{"TARNWICK.INI"});
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "yes");
    EXPECT_EQ(readBack("SETTINGS", "Left"), "5");
}

TEST_F(IniSettingsStoreTest, FileWithTheAppNameIsNotTakenForTheFolder) {
    // Only a folder may stand in for the app folder.
    temp.writeFile("config/TARNWICK", "not a folder");
    temp.writeFile("config/tarnwick/Tarnwick.ini", "[SETTINGS]\nAutoRun=1\n");
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "1");
}

// ---- Everything else is kept ----

TEST_F(IniSettingsStoreTest, OtherKeysAndSectionsSurviveSaves) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    ASSERT_TRUE(save("SETTINGS", "Language", "en"));
    ASSERT_TRUE(save("Window", "Left", "10"));
    ASSERT_TRUE(save("Window", "Top", "20"));
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "0"));
    ASSERT_TRUE(save("Window", "Width", "300"));

    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "0");
    EXPECT_EQ(readBack("SETTINGS", "Language"), "en");
    EXPECT_EQ(readBack("Window", "Left"), "10");
    EXPECT_EQ(readBack("Window", "Top"), "20");
    EXPECT_EQ(readBack("Window", "Width"), "300");
    // The new key went into its own section, not the last one.
    EXPECT_EQ(readBack("SETTINGS", "Width"), "<default>");
}

TEST_F(IniSettingsStoreTest, HandWrittenFileKeepsCommentsLineEndsAndSpelling) {
    temp.writeFile("config/Tarnwick/Tarnwick.ini",
                   "; written by hand\r\n[Settings]\r\nautorun = 0\r\n# keep me\r\n"
                   "[Window]\r\nLeft=5\r\n");
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    ASSERT_TRUE(save("SETTINGS", "Language", "de"));
    EXPECT_EQ(readWholeFile(iniFile),
              "; written by hand\r\n[Settings]\r\nautorun=1\r\nLanguage=de\r\n# keep me\r\n"
              "[Window]\r\nLeft=5\r\n");
}

TEST_F(IniSettingsStoreTest, SavesIntoAFileWithoutFinalLineEnd) {
    temp.writeFile("config/Tarnwick/Tarnwick.ini", "[Window]\nLeft=5");
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(readBack("Window", "Left"), "5");
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "1");
}

// ---- Reading what others wrote ----

TEST_F(IniSettingsStoreTest, ReadsHandEditedFiles) {
    temp.writeFile("config/Tarnwick/Tarnwick.ini",
                   "Orphan=before any section\r\n"
                   "  [ SETTINGS ]  \r\n"
                   "; AutoRun=commented\r\n"
                   "# Language=commented\r\n"
                   "a line without an equals sign\r\n"
                   "  AutoRun  =  1  \r\n"
                   "Quoted=\"  padded  \"\r\n"
                   "Twice=first\r\n"
                   "Twice=second\r\n"
                   "Unknown=\\q stays\r\n");
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "1");
    EXPECT_EQ(readBack("SETTINGS", "Language"), "<default>");
    EXPECT_EQ(readBack("SETTINGS", "Orphan"), "<default>");
    EXPECT_EQ(readBack("SETTINGS", "Quoted"), "  padded  ");
    EXPECT_EQ(readBack("SETTINGS", "Twice"), "first");
    EXPECT_EQ(readBack("SETTINGS", "Unknown"), "\\q stays");
}

TEST_F(IniSettingsStoreTest, SaveReplacesTheDuplicateThatIsRead) {
    temp.writeFile("config/Tarnwick/Tarnwick.ini", "[A]\nk=1\n[B]\n[a]\nk=2\n");
    ASSERT_TRUE(save("A", "K", "3"));
    EXPECT_EQ(readBack("A", "k"), "3");
}

TEST_F(IniSettingsStoreTest, SeesChangesByAnotherWriter) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    IniSettingsStore store(configHome);
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "AutoRun", "d"), "1");
    temp.writeFile("config/Tarnwick/Tarnwick.ini", "[SETTINGS]\nAutoRun=2\n");
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "AutoRun", "d"), "2");
}

// ---- Files that are not INI ----

TEST_F(IniSettingsStoreTest, RandomBytesReadAsDefaults) {
    std::mt19937 generator;  // default state: the same bytes on every run
    std::string garbage(64 * 1024, '\0');
    for (auto& byte : garbage) byte = static_cast<char>(generator() & 0xFF);
    garbage[10] = '\0';
    temp.writeFile("config/Tarnwick/Tarnwick.ini", garbage);

    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "<default>");
    // A save keeps the bytes it cannot read and adds its own section.
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "1");
    EXPECT_EQ(readWholeFile(iniFile).substr(0, garbage.size()), garbage);
}

TEST_F(IniSettingsStoreTest, FolderInPlaceOfTheFileReadsAsDefaultsAndRefusesSaves) {
    temp.makeFolder("config/Tarnwick/Tarnwick.ini");
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "<default>");
    EXPECT_FALSE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_TRUE(fs::is_directory(iniFile));
    EXPECT_EQ(entriesOf(appFolder), std::vector<std::string>{"Tarnwick.ini"});
}

TEST_F(IniSettingsStoreTest, FifoInPlaceOfTheFileDoesNotHang) {
    temp.makeFolder("config/Tarnwick");
    ASSERT_EQ(mkfifo(iniFile.c_str(), 0644), 0);
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "<default>");
    EXPECT_FALSE(save("SETTINGS", "AutoRun", "1"));
}

TEST_F(IniSettingsStoreTest, UnreadableFileReadsAsDefaultsAndIsNotOverwritten) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    temp.writeFile("config/Tarnwick/Tarnwick.ini", "[SETTINGS]\nLanguage=de\n");
    ASSERT_EQ(chmod(iniFile.c_str(), 0), 0);
    EXPECT_EQ(readBack("SETTINGS", "Language"), "<default>");
    // Replacing it would lose the settings that could not be read.
    EXPECT_FALSE(save("SETTINGS", "AutoRun", "1"));
    ASSERT_EQ(chmod(iniFile.c_str(), 0600), 0);
    EXPECT_EQ(readBack("SETTINGS", "Language"), "de");
}

// ---- Atomic replacement ----

// Lowers the file size limit, which binds root too, so that a write fails
// part way through. SIGXFSZ is ignored meanwhile so the write reports EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

TEST_F(IniSettingsStoreTest, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    const std::string before = readWholeFile(iniFile);
    bool saved = true;
    {
        FileSizeLimit limit(64);
        ASSERT_TRUE(limit.active());
        saved = save("SETTINGS", "Note", std::string(4096, 'n'));
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(readWholeFile(iniFile), before);
    EXPECT_EQ(entriesOf(appFolder), std::vector<std::string>{"Tarnwick.ini"});
}

TEST_F(IniSettingsStoreTest, FileInPlaceOfTheAppFolderFailsCleanly) {
    temp.writeFile("config/Tarnwick", "not a folder");
    EXPECT_FALSE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(readWholeFile(appFolder), "not a folder");
    EXPECT_EQ(entriesOf(configHome), std::vector<std::string>{"Tarnwick"});
    EXPECT_EQ(readBack("SETTINGS", "AutoRun"), "<default>");
}

TEST_F(IniSettingsStoreTest, NoTemporaryFilesRemainAfterSaves) {
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(save("SETTINGS", "Key" + std::to_string(i % 7), std::to_string(i)));
    EXPECT_EQ(entriesOf(appFolder), std::vector<std::string>{"Tarnwick.ini"});
}

TEST_F(IniSettingsStoreTest, ExistingFileKeepsItsPermissions) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    ASSERT_EQ(chmod(iniFile.c_str(), 0600), 0);
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "0"));
    EXPECT_EQ(permissionsOf(iniFile), 0600u);
}

TEST_F(IniSettingsStoreTest, NewFileFollowsTheUmask) {
    const mode_t previous = umask(077);
    const bool saved = save("SETTINGS", "AutoRun", "1");
    umask(previous);
    ASSERT_TRUE(saved);
    EXPECT_EQ(permissionsOf(iniFile), 0600u);
}

}  // namespace
}  // namespace tarnwk::test
