// The update check against a real HTTP server on loopback, with real files.
#include <gtest/gtest.h>

#include <chrono>

#include "app/Application.h"
#include "scan/ReferenceFile.h"
#include "update/UpdateCheckFixture.h"

namespace tarnwk {
namespace {

using Server = test::LoopbackHttpServer;
using enum Server::Behaviour;
using platform::MessageResult;
using Texts = std::vector<std::string>;

// A version file's version is the first field of its first line.
TEST_F(UpdateCheck, NewerVersionIsOfferedAndReplacesTheReferenceFileWhenAccepted) {
    publish("  2.01,extra\r\n3\r\n");
    fake.ui.answers = {MessageResult::No};
    CheckForUpdates(fake.program, 1);
    EXPECT_EQ(fake.ui.shown.at(0).buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(fake.ui.shown.at(0).icon, platform::MessageIcon::Information);
    EXPECT_EQ(messages(), Texts{newerVersionQuestion()});
    EXPECT_EQ(server.requests(), Texts{"/products/twk/version.txt"}) << "nothing downloaded";

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
    CheckForUpdates(installed.program, 1);
    EXPECT_EQ(test::readWholeFile(folder / "data/Tarnwick/ref.dat"), kNewDefinitions);
    EXPECT_EQ(test::readWholeFile(folder / "share/ref.dat"), kOldDefinitions);
    EXPECT_EQ(definitionsInUse(installed.program), folder / "data/Tarnwick/ref.dat");
    // From now on the user's copy is the one compared.
    CheckForUpdates(installed.program, 1);
    EXPECT_EQ(installed.ui.shown.back().text, upToDateMessage());
    folder.writeFile("share/ref.dat", "Ver2.010\r\nsame.exe|Same\r\n");  // a tie keeps the download
    EXPECT_EQ(definitionsInUse(installed.program), folder / "data/Tarnwick/ref.dat");
    // Until a newer program brings newer definitions of its own.
    folder.writeFile("share/ref.dat", "Ver3.000\r\nnewest.exe|Newest\r\n");
    EXPECT_EQ(definitionsInUse(installed.program), installed.program.bundledReferenceFile);
}

// Nothing newer, no version to compare or no valid reference file to install
// (error pages served as success among them): the old file stays. Failures
// are silent at start-up; a server that never answers ends in its time-out.
TEST_F(UpdateCheck, NothingNewerOrNothingValidKeepsTheOldFile) {
    const Texts upToDate{upToDateMessage()}, notFound{std::string(kVersionFileNotFoundMessage)};
    const Texts notRetrieved{newerVersionQuestion(), std::string(kDefinitionsNotRetrievedMessage)};
    const Server::Route newer{200, "3.0"};
    const std::tuple<Server::Route, Server::Route, int, Texts> cases[] = {
        {{200, "2.005"}, {}, 0, upToDate},
        {{200, "1.9"}, {}, 0, upToDate},
        {{404, "missing"}, {}, 1, notFound},
        {{200, "\r\n9.0"}, {}, 1, notFound},
        {{300, "9.0"}, {}, 1, notFound},
        {{200, "", NeverAnswer}, {}, 0, {}},
        {{302, "", Serve, "/moved/version.txt"}, {}, 1, upToDate},
        {newer, {404, "missing"}, 1, notRetrieved},
        {newer, {200, "<!DOCTYPE html><html><body>Error</body></html>"}, 1, notRetrieved},
        {newer, {200, ""}, 1, notRetrieved},
        {newer, {200, kNewDefinitions + std::string(4096, 'x'), CutOff}, 1, notRetrieved},
        {newer, {200, "Ver1.000\r\nolder.exe|Older\r\n"}, 1, notRetrieved},  // not newer: refused
        {newer, {200, "Ver2.005\r\nsame.exe|Same\r\n"}, 1, notRetrieved},
        {newer, {200, kNewDefinitions + std::string(65536, '#'), Endless}, 1, notRetrieved}};
    server.route("/moved/version.txt", {200, "1.0"});
    for (const auto& [version, definitions, manual, expected] : cases) {
        server.route("/products/twk/version.txt", version);
        server.route("/products/twk/ref.dat", definitions);
        CheckForUpdates(fake.program, manual);
        EXPECT_TRUE(expected != notRetrieved ||
                    fake.ui.shown.at(1).icon == platform::MessageIcon::Critical);
        EXPECT_EQ(messages(), expected) << version.body << " " << definitions.body.substr(0, 20);
        EXPECT_TRUE(referenceFile() == kOldDefinitions) << "the old file is gone";
        expectNoLeftovers();
    }
    // An endless version file is cut off at its limit, long before the time-out.
    server.route("/products/twk/version.txt", {200, "2.01\r\n", Endless});
    const auto started = std::chrono::steady_clock::now();
    CheckForUpdates(fake.program, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(messages(), notFound);
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
    // A failed check at start-up says nothing; the version file is fetched
    // afresh each time.
    server.route("/products/twk/version.txt", {404, ""});
    Application quietly(fake.program);
    quietly.start();
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace tarnwk
