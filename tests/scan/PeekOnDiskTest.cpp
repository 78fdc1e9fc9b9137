// The walk over real folders: what Linux adds to the picture (dot-files,
// links, pipes, non-ASCII names).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/PosixFileSystem.h"
#include "scan/Peek.h"
#include "support/RecordingScanView.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class PeekOnDisk : public ::testing::Test {
protected:
    test::TempFolder tmp;
    posix::PosixFileSystem files;
    test::RecordingScanView view;
    ScanState state;
    DefinitionsList definitions{Texts{"Ver1.001", "b.exe|Bee", "Évil.exe|Évil", "secret.exe|Dot"}};
    DefinitionIndex index{definitions};
    Walk walk{files, definitions, index, view, state};

    Texts foundPaths() const {
        Texts paths;
        for (const auto& item : view.items) paths.push_back(item.path.substr(tmp.path().size()));
        return paths;
    }
};

TEST_F(PeekOnDisk, DotFilesAreNeverExaminedButDotFoldersAreEntered) {
    tmp.writeFile(".secret.exe");
    tmp.writeFile(".config/b.exe");
    tmp.writeFile(".config/.b.exe");
    walk.Peek(tmp.path(), true);
    EXPECT_EQ(foundPaths(), (Texts{"/.config/b.exe"}));
    EXPECT_EQ(state.objectsScanned, 1);
}

TEST_F(PeekOnDisk, LinksAreNeverFollowedSoALoopEnds) {
    tmp.writeFile("real/b.exe");
    fs::create_directory_symlink(tmp.path(), tmp / "real/loop");
    fs::create_directory_symlink(tmp / "real", tmp / "alias");
    fs::create_symlink(tmp / "real/b.exe", tmp / "B.EXE");
    ASSERT_EQ(mkfifo((tmp / "b.exe").c_str(), 0600), 0);
    walk.Peek(tmp.path(), true);
    EXPECT_EQ(foundPaths(), (Texts{"/real/b.exe"}));
    EXPECT_EQ(state.objectsScanned, 1);
}

TEST_F(PeekOnDisk, AStartingFolderGivenAsALinkIsWalked) {
    tmp.writeFile("real/b.exe");
    fs::create_directory_symlink(tmp / "real", tmp / "alias");
    walk.Peek(tmp / "alias", true);
    EXPECT_EQ(foundPaths(), (Texts{"/alias/b.exe"}));
}

TEST_F(PeekOnDisk, CaseIsIgnoredBeyondAscii) {
    tmp.writeFile("ÉVIL.EXE");
    tmp.writeFile("B.Exe");
    walk.Peek(tmp.path() + "/", true);
    EXPECT_EQ(view.itemTexts(),
              (Texts{tmp.path() + "/b.exe > Bee", tmp.path() + "/Évil.exe > Évil"}));
    EXPECT_EQ(foundPaths(), (Texts{"/B.Exe", "/ÉVIL.EXE"}));
}

TEST_F(PeekOnDisk, AFolderThatCannotBeListedIsSkipped) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; the fake covers this";
    tmp.writeFile("locked/b.exe");
    tmp.writeFile("open/b.exe");
    ASSERT_EQ(chmod((tmp / "locked").c_str(), 0), 0);
    walk.Peek(tmp.path(), true);
    EXPECT_EQ(foundPaths(), (Texts{"/open/b.exe"}));
}

}  // namespace
}  // namespace tarnwk
