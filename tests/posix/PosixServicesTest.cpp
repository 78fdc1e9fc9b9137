// The smaller Linux services: the mount table a full scan walks, folder
// paths, the application folder, where the configuration lives, and the
// autostart entry.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "platform/posix/ConfigHome.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/XdgAutostart.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace tarnwk::posix {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

TEST(MountTable, KeepsLocalFileSystemsOnceEachInPathOrder) {
    EXPECT_EQ(scanRootsFromMountInfo("22 1 0:21 / /proc rw - proc proc rw\n"
                                     "25 1 8:2 / / rw shared:1 - ext4 /dev/sda2 rw\n"
                                     "27 25 8:3 / /home rw shared:2 - xfs /dev/sda3 rw\n"
                                     "28 25 8:2 /srv/data /mnt/bind rw - ext4 /dev/sda2 rw\n"
                                     "29 25 0:30 / /run rw - tmpfs tmpfs rw\n"
                                     "30 25 0:40 / /net/share rw - nfs4 server:/share rw\n"
                                     "32 25 8:17 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n"
                                     "garbage line\n"),
              (Texts{"/", "/home", "/media/usb stick"}));
    // In a container the host's disk shows only through bind mounts.
    EXPECT_EQ(scanRootsFromMountInfo("1 0 0:30 / / rw - overlay overlay rw\n"
                                     "2 1 8:1 /volumes/work /work rw - ext4 /dev/sda1 rw\n"
                                     "3 1 8:1 /volumes/work/sub /sub rw - ext4 /dev/sda1 rw\n"
                                     "4 1 8:1 /volumes/workshop /shop rw - ext4 /dev/sda1 rw\n"),
              (Texts{"/", "/shop", "/work"}));
}

TEST(PosixFileSystem, FolderPathsAndProgramFoldersBesideTheExecutableOrInTheUsersData) {
    EXPECT_EQ(normalFolderPath("///"), "/");
    EXPECT_EQ(normalFolderPath("/home/./user/../other/"), "/home/other");
    EXPECT_EQ(normalFolderPath("relative").front(), '/');
    // The test binaries sit beside ref.dat.
    EXPECT_EQ(PosixFileSystem().programFolders().data,
              fs::read_symlink("/proc/self/exe").parent_path().string());

    static std::set<std::string> present;
    const std::string userData = "/home/u/.local/share/Tarnwick";
    // Files present, the executable's folder; the data folder and the definitions.
    const std::tuple<std::set<std::string>, std::string, std::string, std::string> cases[] = {
        // Definitions beside the executable win, even in an installed layout.
        {{"/o/bin/ref.dat", "/o/share/tarnwick/ref.dat"}, "/o/bin", "/o/bin", "/o/bin/ref.dat"},
        {{"/usr/share/tarnwick/ref.dat"}, "/usr/bin", userData, "/usr/share/tarnwick/ref.dat"},
        {{"/share/tarnwick/ref.dat"}, "/bin", userData, "/share/tarnwick/ref.dat"},
        // Neither: the executable's folder, where a missing file is reported.
        {{}, "/usr/bin", "/usr/bin", "/usr/bin/ref.dat"},
        {{"/share/tarnwick/ref.dat"}, "/", "/", "/ref.dat"}};
    for (const auto& [files, exeFolder, data, definitions] : cases) {
        present = files;
        const auto found =
            programFoldersFor(exeFolder, "/home/u/.local/share",
                              [](const std::string& path) { return present.contains(path); });
        EXPECT_EQ(found.data + " " + found.bundledDefinitions, data + " " + definitions);
    }
}

TEST(ConfigHome, AnAbsoluteXdgFolderOrTheHomeFolders) {
    const std::string fromPasswords = getpwuid(getuid())->pw_dir;
    // HOME, XDG_CONFIG_HOME and XDG_DATA_HOME; the config and data folders.
    const std::tuple<const char*, const char*, std::string, std::string> cases[] = {
        {"/home/someone", "/elsewhere/x", "/elsewhere/x", "/elsewhere/x"},
        {"/home/someone", "relative/x", "/home/someone/.config", "/home/someone/.local/share"},
        {"", nullptr, fromPasswords + "/.config", fromPasswords + "/.local/share"},
        {nullptr, nullptr, fromPasswords + "/.config", fromPasswords + "/.local/share"}};
    // In a child process, so the test's own environment stays as it was.
    EXPECT_TRUE(test::inChildProcess([&] {
        for (const auto& [home, xdg, config, data] : cases) {
            for (const auto& [name, value] :
                 {std::pair{"HOME", home}, {"XDG_CONFIG_HOME", xdg}, {"XDG_DATA_HOME", xdg}})
                value ? setenv(name, value, 1) : unsetenv(name);
            EXPECT_EQ(configHome() + " " + dataHome(), config + " " + data)
                << (home ? home : "(unset)");
        }
    }));
}

TEST(XdgAutostart, RegistersRemovesAndReportsWhatItCannotDo) {
    test::TempFolder tmp;
    const std::string home = tmp / "config";
    const std::string entry = home + "/autostart/Tarnwick.desktop";
    EXPECT_TRUE(XdgAutostart(home, "Tarnwick", "/opt/t/tarnwk").setRegistered(false))
        << "removing an absent registration succeeds";
    ASSERT_TRUE(XdgAutostart(home, "Tarnwick", "/old/tarnwk").setRegistered(true));
    ASSERT_TRUE(XdgAutostart(home, "Tarnwick", R"(/My Programs/a"b\c$d`e%f)").setRegistered(true));
    // Inside the quotes '"', '`', '$' and '\' take a backslash, which the
    // string escape then doubles; '%' is doubled.
    const std::string registered =
        "[Desktop Entry]\nType=Application\nName=Tarnwick\n"
        R"(Exec="/My Programs/a\\"b\\\\c\\$d\\`e%%f")"
        "\nX-GNOME-Autostart-enabled=true\nTerminal=false\n";
    EXPECT_EQ(test::readWholeFile(entry), registered);
    for (const char* path : {"/bad\npath", "/opt/tab\t", "/opt/\x01", "/opt/del\x7F", ""})
        EXPECT_FALSE(XdgAutostart(home, "Tarnwick", path).setRegistered(true)) << path;
    EXPECT_EQ(test::readWholeFile(entry), registered);
    EXPECT_EQ(test::entryNames(home + "/autostart"), Texts{"Tarnwick.desktop"});
    EXPECT_TRUE(XdgAutostart(home, "Tarnwick", "/new/tarnwk").setRegistered(false));
    EXPECT_FALSE(fs::exists(entry));

    tmp.writeFile("config/autostart/Tarnwick.desktop/inside");  // a folder in its place
    EXPECT_FALSE(XdgAutostart(home, "Tarnwick", "/t").setRegistered(false));
    tmp.writeFile("other/autostart", "a file, not a folder");
    EXPECT_FALSE(XdgAutostart(tmp / "other", "Tarnwick", "/t").setRegistered(true));
}

}  // namespace
}  // namespace tarnwk::posix
