// The update check against a real HTTP server on loopback, with real files.
#include "update/CheckForUpdates.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "app/Application.h"
#include "platform/posix/CurlDownloader.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FakeProgram.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"
#include "update/Versions.h"

namespace tarnwk {
namespace {

using Server = test::LoopbackHttpServer;
using platform::MessageResult;
using Texts = std::vector<std::string>;

const std::string kOldDefinitions = "Ver2.005\r\nold.exe|Old\r\n";
const std::string kNewDefinitions = "Ver2.010\r\nnew.exe|New\r\n";

TEST(Versions, PublishedLocalAndValidFollowTheirRules) {
    const std::pair<std::string_view, std::optional<double>> published[] = {
        {"2.01\r\n", 2.01},
        {"  2.01,extra\r\n3\r\n", 2.01},
        {"\"1.9\" trailing\n", 1.9},
        {"2", 2.0},
        {"", std::nullopt},
        {"\r\n2.0", std::nullopt},
        {"<html>Not Found</html>", std::nullopt}};
    for (const auto& [text, version] : published)
        EXPECT_EQ(publishedVersion(text), version) << text;
    const std::pair<std::string_view, std::optional<double>> local[] = {
        {"Ver2.005\r\nx.exe|X\r\n", 2.005},
        {"VerVer12\r\n", 12.0},
        {"Ver2.0\r\n", std::nullopt},  // the line end is inside the eight characters
        {"Ver2", std::nullopt},
        {"ver2.005", std::nullopt}};
    for (const auto& [text, version] : local) EXPECT_EQ(localVersion(text), version) << text;
    for (const auto& [text, valid] : {std::pair{"Ver2.010\r\nx.exe|X\r\n", true},
                                      {"Ver2.010", true},
                                      {"", false},
                                      {"<!DOCTYPE html>", false},
                                      {"Version two\r\n", false},
                                      {"\r\nVer2.010\r\n", false}, {"Rev2.010\r\n", false}})
        EXPECT_EQ(isValidReferenceFile(text), valid) << text;
}

class UpdateCheck : public ::testing::Test {
protected:
    UpdateCheck() {
        folder.writeFile("ref.dat", kOldDefinitions);
        fake.program.downloader = &downloader;
    }
    void publish(const std::string& version, const std::string& definitions = kNewDefinitions) {
        server.route("/products/twk/version.txt", {200, version});
        server.route("/products/twk/ref.dat", {200, definitions});
    }
    Texts messages() {
        Texts texts;
        for (const auto& shown : fake.ui.shown) texts.push_back(shown.text);
        fake.ui.shown.clear();
        return texts;
    }
    std::string referenceFile() const { return test::readWholeFile(folder / "ref.dat"); }
    void expectNoLeftovers() {
        Texts names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, Texts{"ref.dat"}) << "a temporary file lingers";
    }

    test::TempFolder folder;
    Server server;
    posix::PosixFileSystem files;
    posix::CurlDownloader downloader{2, 3};
    test::FakeProgram fake{&files, folder.path(), nullptr, server.baseUrl()};
};

TEST_F(UpdateCheck, NewerVersionIsOfferedAndReplacesTheReferenceFileWhenAccepted) {
    publish("2.01\r\n");
    fake.ui.answers = {MessageResult::No};
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(fake.ui.shown.at(0).buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(fake.ui.shown.at(0).icon, platform::MessageIcon::Information);
    EXPECT_EQ(messages(), Texts{newerVersionQuestion()});
    EXPECT_EQ(referenceFile(), kOldDefinitions);
    EXPECT_EQ(server.requests(), Texts{"/products/twk/version.txt"});

    fake.program.setDefinitions(DefinitionsList({"Ver2.005", "old.exe|Old"}));
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), (Texts{newerVersionQuestion(), std::string(kDefinitionsUpdatedMessage)}));
    EXPECT_EQ(referenceFile(), kNewDefinitions);
    EXPECT_EQ(fake.ui.peersCreated["frmprogress"], 1);
    EXPECT_FALSE(fake.ui.busy);
    // The running program keeps what it loaded until the next start.
    EXPECT_FALSE(fake.program.index().find("old.exe").empty());
    expectNoLeftovers();
}

TEST_F(UpdateCheck, UpToDateAndUnreadableVersionFiles) {
    for (const char* version : {"2.005", "1.9", "2.0050"}) {
        publish(version);
        CheckForUpdates(fake.program, 0);
        EXPECT_EQ(messages(), Texts{upToDateMessage()}) << version;
    }
    server.route("/products/twk/version.txt", {404, "missing"});
    CheckForUpdates(fake.program, 0);  // at start-up: silent
    EXPECT_TRUE(messages().empty());
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{std::string(kVersionFileNotFoundMessage)});
    server.route("/products/twk/version.txt", {300, "9.0"});
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{std::string(kVersionFileNotFoundMessage)});
    publish("<html><body>Oops</body></html>");  // an error page served as success
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{std::string(kVersionFileNotFoundMessage)});
    server.route("/products/twk/version.txt",
                 {302, "", Server::Behaviour::Serve, "/moved/version.txt"});
    server.route("/moved/version.txt", {200, "1.0"});
    ASSERT_EQ(chmod(folder.writeFile("upd.txt", "stale").c_str(), 0444), 0);
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{upToDateMessage()}) << "redirects are followed";
    EXPECT_EQ(referenceFile(), kOldDefinitions);
    expectNoLeftovers();
}

TEST_F(UpdateCheck, ABadReferenceDownloadKeepsTheOldFile) {
    const Server::Route badAnswers[] = {
        {404, "missing"},
        {200, "<!DOCTYPE html><html><body>Error</body></html>"},
        {200, ""},
        {200, kNewDefinitions + std::string(4096, 'x'), Server::Behaviour::CutOff},
    };
    for (const auto& answer : badAnswers) {
        server.route("/products/twk/version.txt", {200, "3.0"});
        server.route("/products/twk/ref.dat", answer);
        CheckForUpdates(fake.program, 1);
        EXPECT_EQ(fake.ui.shown.at(1).icon, platform::MessageIcon::Critical);
        EXPECT_EQ(messages(),
                  (Texts{newerVersionQuestion(), std::string(kDefinitionsNotRetrievedMessage)}));
        EXPECT_EQ(referenceFile(), kOldDefinitions);
        expectNoLeftovers();
    }
}

TEST_F(UpdateCheck, AServerThatNeverAnswersTimesOut) {
    server.route("/products/twk/version.txt", {200, "", Server::Behaviour::NeverAnswer});
    const auto started = std::chrono::steady_clock::now();
    CheckForUpdates(fake.program, 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    expectNoLeftovers();
}

TEST_F(UpdateCheck, RunsFromBothButtonsAndAtStartUpWhenAsked) {
    publish("1.0");
    Application app(fake.program);
    app.start();
    EXPECT_TRUE(messages().empty()) << "no check at start-up unless asked for";
    app.main.cmdcheckforupdates.click();
    app.main.CmdCheckForUpdates2.click();
    EXPECT_EQ(messages(), (Texts{upToDateMessage(), upToDateMessage()}));
    fake.store(Setting::AUTOUPDATE, "1");
    Application again(fake.program);
    again.start();
    EXPECT_EQ(messages(), Texts{upToDateMessage()});
}

}  // namespace
}  // namespace tarnwk
