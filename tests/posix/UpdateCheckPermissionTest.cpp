// The update check where the program's folder cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/Unprivileged.h"
#include "update/UpdateCheckFixture.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;

TEST_F(UpdateCheck, LocalFaultsAreToldAsLocal) {
    // No version of its own: any published file is offered, and installed.
    folder.writeFile("ref.dat", "\xEF\xBB\xBFVer2.005\r\nold.exe|Old\r\n");
    publish("2.01");
    CheckForUpdates(fake.program, 0);
    EXPECT_EQ(messages(), (Texts{std::string(kLocalUnreadableQuestion),
                                 std::string(kDefinitionsUpdatedMessage)}));
    EXPECT_EQ(referenceFile(), kNewDefinitions);
    // A folder the new file cannot be saved in is this machine's fault.
    publish("3.0", "Ver3.0\r\nnewer.exe|Newer\r\n");
    EXPECT_TRUE(test::asUnprivilegedUser(folder.path(), [&] {
        ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
        CheckForUpdates(fake.program, 1);
        EXPECT_EQ(messages(),
                  (Texts{newerVersionQuestion(), std::string(kDefinitionsNotSavedMessage)}));
        EXPECT_EQ(referenceFile(), kNewDefinitions);
    }));
}

}  // namespace
}  // namespace tarnwk
