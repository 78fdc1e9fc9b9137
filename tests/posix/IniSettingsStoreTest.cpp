// The INI file behind the settings store: what it looks like, what it keeps
// of a hand-written file, what it does with files that are not settings, and
// that a save is all or nothing.
#include "platform/posix/IniSettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class IniFile : public ::testing::Test {
protected:
    bool save(std::string_view section, std::string_view key, std::string_view value) {
        return posix::IniSettingsStore(home).saveSetting("Tarnwick", section, key, value);
    }
    std::string read(std::string_view section, std::string_view key) {
        return posix::IniSettingsStore(home).getSetting("Tarnwick", section, key, "<default>");
    }
    std::string write(const std::string& content) {
        return tmp.writeFile("config/Tarnwick/Tarnwick.ini", content);
    }

    test::TempFolder tmp;
    const std::string home = tmp / "config";
    const std::string ini = home + "/Tarnwick/Tarnwick.ini";
};

// A hand-written file: what is read from it, and a save that changes only its
// own line (the duplicate it reads) while new keys join their section.
TEST_F(IniFile, ReadsHandEditedFilesAndSavesChangeOnlyTheirOwnLine) {
    EXPECT_EQ(read("SETTINGS", "AutoRun"), "<default>");
    EXPECT_FALSE(fs::exists(home)) << "reading creates nothing";
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(test::readWholeFile(ini), "[SETTINGS]\nAutoRun=1\n");

    const std::string top = "Orphan=1\r\n  [ Settings ]  \r\n; AutoRun=9\r\nno equals\r\n";
    const std::string kept = "Quoted=\"  x  \"\r\nTwice=2\r\nUnknown=\\q\r\nLone=\"\r\n";
    write(top + "  autorun  =  0  \r\nTwice=1\r\n" + kept + "# keep me\r\n[Window]\r\nLeft=5\r\n");
    Texts found;
    for (const char* key : {"AutoRun", "Orphan", "Quoted", "Twice", "Unknown", "Lone"})
        found.push_back(read("SETTINGS", key));
    EXPECT_EQ(found, (Texts{"0", "<default>", "  x  ", "1", "\\q", "\""}));
    for (const char* key : {"AutoRun", "TWICE", "Language"})
        ASSERT_TRUE(save("SETTINGS", key, "3"));
    ASSERT_TRUE(save("Other", "Top", " 7 "));
    EXPECT_EQ(test::readWholeFile(ini), top + "autorun=3\r\nTwice=3\r\n" + kept +
                                            "Language=3\r\n# keep me\r\n[Window]\r\nLeft=5\r\n"
                                            "\r\n[Other]\r\nTop=\" 7 \"\r\n");

    write("[Window]\nLeft=5\n[SETTINGS]\n\n[Other]\nx=1");  // an empty section, no last line end
    ASSERT_TRUE(save("settings", "AutoRun", "1"));
    EXPECT_EQ(test::readWholeFile(ini),
              "[Window]\nLeft=5\n[SETTINGS]\nAutoRun=1\n\n[Other]\nx=1\n");
}

TEST_F(IniFile, NamesAndFoldersAreMatchedWithoutCaseAndBadNamesRefused) {
    posix::IniSettingsStore store(home);
    for (const char* key : {"a=b", "a\nb", "[key", ""})
        EXPECT_FALSE(store.saveSetting("Tarnwick", "SETTINGS", key, "1")) << key;
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SET]TINGS", "k", "1"));
    EXPECT_FALSE(store.saveSetting("../Escaped", "SETTINGS", "k", "1"));
    EXPECT_FALSE(fs::exists(home));

    tmp.writeFile("config/TARNWICK", "a file is no folder");
    const std::string existing = tmp.writeFile("config/tarnwick/TARNWICK.INI", "[s]\nk=yes\n");
    tmp.writeFile("config/tarnwick/tarnwick.ini");  // of two, the first in byte order
    ASSERT_TRUE(store.saveSetting("Tarnwick", "S", "Left", "5"));
    EXPECT_EQ(test::entryNames(home + "/tarnwick"), (Texts{"TARNWICK.INI", "tarnwick.ini"}));
    EXPECT_EQ(test::readWholeFile(existing), "[s]\nk=yes\nLeft=5\n");
}

TEST_F(IniFile, WhatIsNotASettingsFileReadsAsDefaultsAndIsNeverLost) {
    std::string garbage;  // every byte value, the same on every run
    for (int i = 0; i < 64 * 1024; ++i) garbage += static_cast<char>(i * 7919 >> 3);
    write(garbage);
    EXPECT_EQ(read("SETTINGS", "AutoRun"), "<default>");
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(read("SETTINGS", "AutoRun"), "1");
    EXPECT_EQ(test::readWholeFile(ini).substr(0, garbage.size()), garbage);

    fs::remove(ini);
    ASSERT_EQ(mkfifo(ini.c_str(), 0644), 0);  // must not hang
    EXPECT_EQ(read("SETTINGS", "AutoRun"), "<default>");
    EXPECT_FALSE(save("SETTINGS", "AutoRun", "1"));
    fs::remove(ini);

    write("[SETTINGS]\nLanguage=de\n");
    EXPECT_TRUE(test::asUnprivilegedUser(tmp.path(), [&] {
        ASSERT_EQ(chmod(ini.c_str(), 0), 0);
        EXPECT_EQ(read("SETTINGS", "Language"), "<default>");
        EXPECT_FALSE(save("SETTINGS", "AutoRun", "1")) << "it would lose what it cannot read";
        ASSERT_EQ(chmod(ini.c_str(), 0600), 0);
        EXPECT_EQ(read("SETTINGS", "Language"), "de");
    }));
}

TEST_F(IniFile, ALinkedFileIsWrittenThroughAndAHugeOneIsRefusedWithAReason) {
    const std::string dotfiles = tmp.writeFile("dotfiles/tarnwick.ini", "[SETTINGS]\nLeft=1\n");
    tmp.makeFolder("config/Tarnwick");
    fs::create_symlink("../../dotfiles/tarnwick.ini", ini);
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(test::readWholeFile(dotfiles), "[SETTINGS]\nLeft=1\nAutoRun=1\n");

    fs::remove(ini);
    write(std::string(1 << 20, 'x') + "\n[SETTINGS]\nLeft=1\n");
    posix::IniSettingsStore store(home);
    EXPECT_FALSE(store.saveSetting("Tarnwick", "SETTINGS", "AutoRun", "1"));
    EXPECT_EQ(store.lastFailure(), ini +
                                       " is larger than 1 MiB, so it is no settings file; it is "
                                       "kept as it is");
    EXPECT_EQ(fs::file_size(ini), (1u << 20) + 19);
    write(std::string((1 << 20) - 19, 'x') + "\n[SETTINGS]\nLeft=1\n");  // 1 MiB is still read
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", "Left", ""), "1");
}

TEST_F(IniFile, ASaveIsAllOrNothingAndKeepsThePermissions) {
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "1"));
    const std::string before = test::readWholeFile(ini);
    EXPECT_TRUE(test::inChildProcess([&] {
        // The file size limit binds root too; SIGXFSZ ignored, the write fails.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{64, 64};
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        EXPECT_FALSE(save("SETTINGS", "Note", std::string(4096, 'n')));
    }));
    EXPECT_EQ(test::readWholeFile(ini), before);
    EXPECT_EQ(test::entryNames(home + "/Tarnwick"), Texts{"Tarnwick.ini"})
        << "no temporary file is left";

    ASSERT_EQ(chmod(ini.c_str(), 0664), 0);  // wider than the usual umask lets a new file be
    ASSERT_TRUE(save("SETTINGS", "AutoRun", "0"));
    EXPECT_EQ(fs::status(ini).permissions(), fs::perms(0664));
    fs::remove(ini);
    const mode_t previous = umask(077);
    const bool saved = save("SETTINGS", "AutoRun", "1");
    umask(previous);
    ASSERT_TRUE(saved);
    EXPECT_EQ(fs::status(ini).permissions(), fs::perms(0600)) << "a new file follows the umask";
}

}  // namespace
}  // namespace tarnwk
