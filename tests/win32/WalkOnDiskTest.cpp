// The walk over real folders on Windows: names in any script, hidden and
// system files, links (reparse points), paths past MAX_PATH.
#include <gtest/gtest.h>
#include <windows.h>

#include "NativeServices.h"
#include "platform/win32/LongPath.h"
#include "scan/WalkFixture.h"
#include "support/Links.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;

class WalkOnWindowsDisk : public WalkTest {
protected:
    test::TempFolder tmp;
    test::NativeFileSystem disk;
};

TEST_F(WalkOnWindowsDisk, HiddenSystemAndLinkedEntriesAreNotExaminedAndLongPathsAre) {
    // Past MAX_PATH.
    const std::string deep =
        std::string(100, 'd') + "/" + std::string(100, 'e') + "/" + std::string(100, 'f');
    for (const std::string& name : Texts{"real/ÉVIL.EXE", "日本/b.exe", "long/" + deep + "/b.exe"})
        tmp.writeFile(name);
    for (const auto& [name, attribute] : {std::pair{"hidden/b.exe", FILE_ATTRIBUTE_HIDDEN},
                                          {"system/dup.exe", FILE_ATTRIBUTE_SYSTEM}})
        ASSERT_TRUE(
            SetFileAttributesW(win32::extendedPath(tmp.writeFile(name)).c_str(), attribute));
    test::linkFolder(tmp.path(), tmp / "real/loop");
    test::linkFolder(tmp / "real", tmp / "alias");
    // Where the system makes it, a link to a file is not examined either.
    (void)test::linkFile(tmp / "real/ÉVIL.EXE", tmp / "a.dll");
    for (const unsigned count : {1u, 3u}) {
        view = {};
        state = {};
        threads = count;
        peek(disk, tmp.path() + "\\");
        EXPECT_EQ(view.itemTexts(),
                  (Texts{tmp / ("long/" + deep + "/b.exe > Bee"),
                         tmp / "real/Évil.exe > Évil > worse", tmp / "日本/b.exe > Bee"}));
        EXPECT_EQ(view.items.at(1).path, tmp / "real/ÉVIL.EXE");
        EXPECT_EQ(state.objectsScanned, 3);
    }
    // A starting folder given through a link is walked, as the user
    // named it.
    peek(disk, tmp / "alias");
    EXPECT_EQ(view.items.back().path, tmp / "alias/ÉVIL.EXE");
}

}  // namespace
}  // namespace tarnwk
