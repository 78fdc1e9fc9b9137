// The update check against a real HTTP server on loopback, with real files.
#include <gtest/gtest.h>

#include <chrono>

#include "app/Application.h"
#include "scan/ReferenceFile.h"
#include "update/UpdateCheckFixture.h"
#include "update/Versions.h"

namespace tarnwk {
namespace {

using Server = test::LoopbackHttpServer;
using platform::MessageResult;
using Texts = std::vector<std::string>;

TEST(Versions, PublishedAndReferenceFileVersionsFollowOneRuleEach) {
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
    // A reference file declares its version in its first field: "Ver" and a
    // number, however short.
    const std::pair<std::string_view, std::optional<double>> declared[] = {
        {"Ver2.005\r\nx.exe|X\r\n", 2.005},
        {"Ver1.5\r\n", 1.5},
        {"Ver2", 2.0},
        {"\r\n \"Ver3\",x\r\n", 3.0},
        {"ver2.005", std::nullopt},
        {"\xEF\xBB\xBFVer1.001\r\n", std::nullopt},
        {"VerVer12", std::nullopt},
        {"<!DOCTYPE html>", std::nullopt},
        {"Version two\r\n", std::nullopt},
        {"Rev2.010\r\n", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [text, version] : declared)
        EXPECT_EQ(referenceFileVersion(text), version) << text;
}

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

TEST_F(UpdateCheck, AnInstalledProgramComparesItsOwnDefinitionsAndSavesTheUsersCopy) {
    // The program's files lie in a read-only prefix; the user's data folder
    // does not exist yet.
    folder.writeFile("share/ref.dat", kOldDefinitions);
    test::FakeProgram installed{&files, folder / "data/Tarnwick", nullptr, server.baseUrl()};
    installed.program.downloader = &downloader;
    installed.program.bundledReferenceFile = folder / "share/ref.dat";
    EXPECT_EQ(definitionsInUse(installed.program), installed.program.bundledReferenceFile);

    publish("2.01");
    installed.ui.answers = {MessageResult::Yes};
    CheckForUpdates(installed.program, 1);
    EXPECT_EQ(test::readWholeFile(folder / "data/Tarnwick/ref.dat"), kNewDefinitions);
    EXPECT_EQ(test::readWholeFile(folder / "share/ref.dat"), kOldDefinitions);
    EXPECT_EQ(definitionsInUse(installed.program), folder / "data/Tarnwick/ref.dat");
    // From now on the user's copy is the one compared.
    CheckForUpdates(installed.program, 1);
    EXPECT_EQ(installed.ui.shown.back().text, upToDateMessage());
    // Until a newer program brings newer definitions of its own.
    folder.writeFile("share/ref.dat", "Ver3.000\r\nnewest.exe|Newest\r\n");
    EXPECT_EQ(definitionsInUse(installed.program), installed.program.bundledReferenceFile);
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
        {200, "Ver1.000\r\nolder.exe|Older\r\n"},  // not newer than the local file: refused
        {200, "Ver2.005\r\nsame.exe|Same\r\n"},
        {200, kNewDefinitions + std::string(65536, '#'), Server::Behaviour::Endless},
    };
    for (const auto& answer : badAnswers) {
        server.route("/products/twk/version.txt", {200, "3.0"});
        server.route("/products/twk/ref.dat", answer);
        CheckForUpdates(fake.program, 1);
        EXPECT_EQ(fake.ui.shown.at(1).icon, platform::MessageIcon::Critical);
        EXPECT_EQ(messages(),
                  (Texts{newerVersionQuestion(), std::string(kDefinitionsNotRetrievedMessage)}));
        EXPECT_TRUE(referenceFile() == kOldDefinitions) << "the old file is gone";
        expectNoLeftovers();
    }
}

TEST_F(UpdateCheck, AnEndlessVersionFileIsCutOffAtItsLimit) {
    server.route("/products/twk/version.txt", {200, "2.01\r\n", Server::Behaviour::Endless});
    const auto started = std::chrono::steady_clock::now();
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{std::string(kVersionFileNotFoundMessage)});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    server.route("/products/twk/version.txt", {200, "2.01" + std::string(5000, ' ')});
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{std::string(kVersionFileNotFoundMessage)});
}

TEST_F(UpdateCheck, AVersionFileChangedOnTheServerIsFetchedAfresh) {
    publish("1.0");
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{upToDateMessage()});
    publish("2.01");
    fake.ui.answers = {MessageResult::No};
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(messages(), Texts{newerVersionQuestion()}) << "never an answer kept from before";
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
