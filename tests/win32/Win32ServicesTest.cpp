// The Windows services against the real system: the drives a full scan
// walks, the Run value, the process sweep over a real child, and the walk
// and quarantine move on a real folder. Settings and files are the shared
// contract suites'.
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <algorithm>

#include "NativeServices.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/RunKeyStartup.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Processes.h"
#include "removal/ProcessSweep.h"
#include "removal/ScanHarness.h"

namespace tarnwk {
namespace {

using win32::extendedPath;
using win32::toWide;

// A text value under the current user's hive; empty when there is none.
std::string registryText(const std::string& key, const std::string& name) {
    wchar_t value[512] = L"";
    DWORD size = sizeof value;
    RegGetValueW(HKEY_CURRENT_USER, toWide(key).c_str(), toWide(name).c_str(), RRF_RT_REG_SZ,
                 nullptr, value, &size);
    return win32::toUtf8(value);
}

TEST(Win32Drives, EveryDriveButTheFloppiesInLetterOrderAndOnlyWithAMedium) {
    const std::vector<win32::DriveRoot> listed = {
        {L"E:\\", DRIVE_CDROM},       {L"A:\\", DRIVE_REMOVABLE}, {L"D:\\", DRIVE_CDROM},
        {L"C:\\", DRIVE_FIXED},       {L"B:\\", DRIVE_REMOVABLE}, {L"F:\\", DRIVE_REMOTE},
        {L"H:\\", DRIVE_NO_ROOT_DIR}, {L"I:\\", DRIVE_REMOVABLE}};
    std::vector<std::string> roots;
    // D: holds no disc.
    for (const auto& drive :
         win32::drivesToScan(listed, [](auto& root) { return root != L"D:\\"; }))
        roots.push_back(drive.root);
    EXPECT_EQ(roots, (std::vector<std::string>{"C:\\", "E:\\", "F:\\", "I:\\"}));
}

TEST(Win32Startup, TheRunValueQuotesAPathWithBlanksAndGoesAgain) {
    test::TempFolder tmp;
    test::NativeSettingsPlace place(tmp);
    const std::string runKey = place.key() + "\\Run";
    const std::string exe = "C:\\Program Files\\Tarnwick Test\\tarnwk.exe";
    win32::RunKeyStartup startup("Tarnwick", exe, runKey);
    EXPECT_FALSE(startup.setRegistered(true)) << "the Run key is never created";
    EXPECT_TRUE(startup.setRegistered(false)) << "nothing to remove";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, toWide(runKey).c_str(), L"Other", REG_SZ, L"", 2),
              ERROR_SUCCESS);
    ASSERT_TRUE(startup.setRegistered(true));
    EXPECT_EQ(registryText(runKey, "Tarnwick"), "\"" + exe + "\"");
    EXPECT_TRUE(startup.setRegistered(false));
    EXPECT_EQ(registryText(runKey, "Tarnwick"), "");
    EXPECT_TRUE(startup.setRegistered(false)) << "removing an absent value succeeds";
}

// A real program named like a definition is ended by the sweep; the
// program itself, named by another definition, is not.
TEST(Win32Processes, TheSweepEndsAChildNamedByADefinitionAndNeverUs) {
    test::NativeFileSystem disk;
    const std::string self(fileName(disk.executablePath()));
    const std::string sleeper = joinPath(parentFolder(disk.executablePath()), "tarnwk_sleeper.exe");
    const win32::Handle process(reinterpret_cast<HANDLE>(
        _wspawnl(_P_NOWAIT, toWide(sleeper).c_str(), L"sleeper", nullptr)));
    ASSERT_TRUE(process);

    win32::Win32Processes processes;
    test::ScanHarness h(nullptr, test::nativePath("/opt/tarnwick"), &processes);
    h.program.setDefinitions(DefinitionsList({"Ver1.001", "TARNWK_SLEEPER.EXE|Child"}));
    KillMatchingProcesses(h.program);
    EXPECT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0) << "it sleeps a minute";
    // We are listed under the id the sweep passes over. Naming our program in
    // a definition instead would end the test processes running beside us.
    const auto listed = processes.list();
    EXPECT_TRUE(std::ranges::any_of(listed, [&](const platform::ProcessInfo& p) {
        return p.id == processes.ownId() && p.programPath && fileName(*p.programPath) == self;
    }));
    EXPECT_FALSE(processes.terminate(processes.ownId()));
}

// The walk passes over hidden and system files and reaches past MAX_PATH; the
// found file, read-only, is copied into Quarantine and beside itself as a
// backup, then deleted.
TEST(Win32Quarantine, AReadOnlyFoundFileMovesWithABackup) {
    test::TempFolder tmp;
    test::NativeFileSystem disk;
    tmp.makeFolder("app/Quarantine");
    test::ScanHarness h(&disk, tmp / "app");
    frmscan window(h.program);
    tmp.writeFile("scan/long/" + std::string(120, 'd') + "/" + std::string(120, 'e') + "/b.exe");
    const std::string found = tmp.writeFile("scan/\xC3\xA9t\xC3\xA9/BAD.DLL", "bad");
    for (const auto& [file, attribute] : {std::pair{found, FILE_ATTRIBUTE_READONLY},
                                          {tmp.writeFile("scan/h/b.exe"), FILE_ATTRIBUTE_HIDDEN},
                                          {tmp.writeFile("scan/s/b.exe"), FILE_ATTRIBUTE_SYSTEM}})
        ASSERT_TRUE(SetFileAttributesW(extendedPath(file).c_str(), attribute));
    h.scanInto(window, tmp / "scan");
    ASSERT_EQ(window.lstadware.count(), 2u) << "hidden and system files are not examined";
    window.lstadware.setSelected(1, true);
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(tmp / "app/Quarantine/bad.dll"), "bad");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/\xC3\xA9t\xC3\xA9/bad.TWK"), "bad");
    EXPECT_EQ(GetFileAttributesW(extendedPath(found).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(std::tuple(window.lstadware.count(), h.program.totalObjectsRemoved.value()),
              std::tuple(1u, 1));
}

}  // namespace
}  // namespace tarnwk
