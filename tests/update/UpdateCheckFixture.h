// The update check's fixture: a real HTTP server on loopback, real files,
// and the fake program over them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NativeServices.h"
#include "support/FakeProgram.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"
#include "update/CheckForUpdates.h"

namespace tarnwk {

inline const std::string kOldDefinitions = "Ver2.005\r\nold.exe|Old\r\n";
inline const std::string kNewDefinitions = "Ver2.010\r\nnew.exe|New\r\n";

class UpdateCheck : public ::testing::Test {
protected:
    UpdateCheck() {
        folder.writeFile("ref.dat", kOldDefinitions);
        // Files of the user's that happen to carry the names the original
        // program downloaded to: never touched.
        folder.writeFile("upd.txt", "mine");
        folder.writeFile("ref.tmp", "mine too");
        fake.program.downloader = &downloader;
    }
    void publish(const std::string& version, const std::string& definitions = kNewDefinitions) {
        server.route("/products/twk/version.txt", {200, version});
        server.route("/products/twk/ref.dat", {200, definitions});
    }
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const auto& shown : fake.ui.shown) texts.push_back(shown.text);
        fake.ui.shown.clear();
        return texts;
    }
    std::string referenceFile() const { return test::readWholeFile(folder / "ref.dat"); }
    void expectNoLeftovers() {
        EXPECT_EQ(test::entryNames(folder.path()),
                  (std::vector<std::string>{"ref.dat", "ref.tmp", "upd.txt"}))
            << "a temporary file lingers";
        EXPECT_EQ(test::readWholeFile(folder / "upd.txt") + test::readWholeFile(folder / "ref.tmp"),
                  "minemine too");
    }

    test::TempFolder folder;
    test::LoopbackHttpServer server;
    test::NativeFileSystem files;
    test::NativeDownloader downloader{2, nullptr, 3};
    test::FakeProgram fake{&files, folder.path(), nullptr, server.baseUrl()};
};

}  // namespace tarnwk
