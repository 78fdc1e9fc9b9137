// The update check against a real HTTP server on loopback, with real files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "app/Application.h"
#include "platform/posix/CurlDownloader.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FakeUi.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempFolder.h"
#include "update/CheckForUpdates.h"

namespace tarnwk {
namespace {

using Server = test::LoopbackHttpServer;
using platform::MessageResult;

const std::string kOldDefinitions = "Ver2.005\r\nold.exe|Old\r\n";
const std::string kNewDefinitions = "Ver2.010\r\nnew.exe|New\r\n";

class UpdateCheck : public ::testing::Test {
protected:
    test::TempFolder folder;
    Server server;
    posix::PosixFileSystem files;
    posix::CurlDownloader downloader{2, 3};
    test::FakePlatform fake;
    test::FakeUi fakeUi;
    ui::Ui ui{fakeUi};
    platform::Platform os{files,      fake.settings,  fake.startup, fakeUi,
                          fake.clock, fake.processes, fake.shell};
    Program program{os, ui, folder.path(), server.baseUrl()};

    void SetUp() override {
        folder.writeFile("ref.dat", kOldDefinitions);
        program.downloader = &downloader;
    }
    void publish(const std::string& version, const std::string& definitions = kNewDefinitions) {
        server.route("/products/twk/version.txt", {200, version});
        server.route("/products/twk/ref.dat", {200, definitions});
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& shown : fakeUi.shown) texts.push_back(shown.text);
        return texts;
    }
    std::string referenceFile() const { return test::readWholeFile(folder / "ref.dat"); }
    void expectNoLeftovers() {
        EXPECT_FALSE(files.isPlainFile(folder / "upd.txt"));
        EXPECT_FALSE(files.isPlainFile(folder / "ref.tmp"));
        const auto contents = files.readFolder(folder.path(), true);
        EXPECT_EQ(contents->files, std::vector<std::string>{"ref.dat"})
            << "a temporary file lingers";
    }
};

TEST_F(UpdateCheck, NewerVersionAcceptedReplacesTheReferenceFile) {
    publish("2.01\r\n");
    fakeUi.answers = {MessageResult::Yes};
    CheckForUpdates(program, 1);
    EXPECT_EQ(messages(), (std::vector<std::string>{newerVersionQuestion(),
                                                    std::string(kDefinitionsUpdatedMessage)}));
    EXPECT_EQ(fakeUi.shown[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(fakeUi.shown[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(referenceFile(), kNewDefinitions);
    EXPECT_EQ(fakeUi.peersCreated["frmprogress"], 1);
    EXPECT_FALSE(fakeUi.busy);
    expectNoLeftovers();
}

TEST_F(UpdateCheck, NewerVersionDeclinedChangesNothing) {
    publish("2.01");
    fakeUi.answers = {MessageResult::No};
    CheckForUpdates(program, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{newerVersionQuestion()});
    EXPECT_EQ(referenceFile(), kOldDefinitions);
    EXPECT_EQ(server.requests(), std::vector<std::string>{"/products/twk/version.txt"});
    expectNoLeftovers();
}

TEST_F(UpdateCheck, EqualOrOlderPublishedVersionIsUpToDate) {
    for (const char* version : {"2.005", "1.9", "2.0050"}) {
        fakeUi.shown.clear();
        publish(version);
        CheckForUpdates(program, 0);
        EXPECT_EQ(messages(), std::vector<std::string>{upToDateMessage()}) << version;
        EXPECT_EQ(fakeUi.shown[0].icon, platform::MessageIcon::Information);
    }
    EXPECT_EQ(referenceFile(), kOldDefinitions);
    expectNoLeftovers();
}

TEST_F(UpdateCheck, MissingOrUnreadableVersionFileIsToldOnlyFromTheButtons) {
    CheckForUpdates(program, 0);  // 404 at start-up: silent
    EXPECT_TRUE(fakeUi.shown.empty());
    CheckForUpdates(program, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{std::string(kVersionFileNotFoundMessage)});

    // An error page served as success counts the same.
    fakeUi.shown.clear();
    publish("<html><body>Oops</body></html>");
    CheckForUpdates(program, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{std::string(kVersionFileNotFoundMessage)});
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
        fakeUi.shown.clear();
        server.route("/products/twk/version.txt", {200, "3.0"});
        server.route("/products/twk/ref.dat", answer);
        fakeUi.answers = {MessageResult::Yes};
        CheckForUpdates(program, 1);
        ASSERT_EQ(messages().size(), 2u);
        EXPECT_EQ(messages()[1], kDefinitionsNotRetrievedMessage);
        EXPECT_EQ(fakeUi.shown[1].icon, platform::MessageIcon::Critical);
        EXPECT_EQ(referenceFile(), kOldDefinitions);
        expectNoLeftovers();
    }
}

TEST_F(UpdateCheck, RedirectsAreFollowed) {
    server.route("/products/twk/version.txt",
                 {302, "", Server::Behaviour::Serve, "/moved/version.txt"});
    server.route("/moved/version.txt", {200, "1.0"});
    CheckForUpdates(program, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{upToDateMessage()});
}

TEST_F(UpdateCheck, AServerThatNeverAnswersTimesOut) {
    server.route("/products/twk/version.txt", {200, "", Server::Behaviour::NeverAnswer});
    const auto started = std::chrono::steady_clock::now();
    CheckForUpdates(program, 0);
    EXPECT_TRUE(fakeUi.shown.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    expectNoLeftovers();
}

TEST_F(UpdateCheck, AReadOnlyVersionCopyIsStillDeleted) {
    const std::string copy = folder.writeFile("upd.txt", "stale");
    ASSERT_EQ(chmod(copy.c_str(), 0444), 0);
    publish("1.0");
    CheckForUpdates(program, 1);
    EXPECT_EQ(messages(), std::vector<std::string>{upToDateMessage()});
    expectNoLeftovers();
}

TEST_F(UpdateCheck, TheRunningProgramKeepsTheDefinitionsItLoaded) {
    program.setDefinitions(DefinitionsList({"Ver2.005", "old.exe|Old"}));
    publish("2.01");
    fakeUi.answers = {MessageResult::Yes};
    CheckForUpdates(program, 1);
    ASSERT_EQ(referenceFile(), kNewDefinitions);
    EXPECT_EQ(program.definitions.entries(), (std::vector<std::string>{"Ver2.005", "old.exe|Old"}));
    EXPECT_FALSE(program.definitionIndex->find("old.exe").empty());
    EXPECT_TRUE(program.definitionIndex->find("new.exe").empty());
}

TEST_F(UpdateCheck, RunsFromBothButtonsAndAtStartUp) {
    publish("1.0");
    Application app(program);
    app.start();
    EXPECT_TRUE(fakeUi.shown.empty()) << "no check at start-up unless asked for";

    app.main.cmdcheckforupdates.click();
    app.main.CmdCheckForUpdates2.click();
    EXPECT_EQ(messages(), (std::vector<std::string>{upToDateMessage(), upToDateMessage()}));

    fakeUi.shown.clear();
    program.settings.save(Setting::AUTOUPDATE, "1");
    Application again(program);
    again.start();
    EXPECT_EQ(messages(), std::vector<std::string>{upToDateMessage()});
}

}  // namespace
}  // namespace tarnwk
