// The Windows services against the real system: the drives a full scan
// walks, the registry settings and Run value, the process sweep over a real
// child, and the quarantine move on real files.
#include <gtest/gtest.h>
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

using Texts = std::vector<std::string>;
using win32::toUtf8;
using win32::toWide;

std::optional<std::string> registryText(const std::string& key, const std::string& name) {
    wchar_t value[512];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, toWide(key).c_str(), toWide(name).c_str(), RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return toUtf8(value);
}

TEST(Win32Drives, EveryDriveButTheFloppiesInLetterOrderAndOnlyWithAMedium) {
    const std::vector<win32::DriveRoot> listed = {
        {L"E:\\", DRIVE_CDROM},   {L"A:\\", DRIVE_REMOVABLE},   {L"D:\\", DRIVE_CDROM},
        {L"C:\\", DRIVE_FIXED},   {L"B:\\", DRIVE_REMOVABLE},   {L"F:\\", DRIVE_REMOTE},
        {L"G:\\", DRIVE_RAMDISK}, {L"H:\\", DRIVE_NO_ROOT_DIR}, {L"I:\\", DRIVE_REMOVABLE}};
    Texts asked;
    const auto drives = win32::drivesToScan(listed, [&](const std::wstring& root) {
        asked.push_back(toUtf8(root));
        return root != L"D:\\";  // D: has no disc
    });
    Texts roots;
    for (const auto& drive : drives) roots.push_back(drive.root);
    EXPECT_EQ(roots, (Texts{"C:\\", "E:\\", "F:\\", "G:\\", "I:\\"}));
    EXPECT_EQ(asked, (Texts{"D:\\", "E:\\", "F:\\", "G:\\", "I:\\"}))
        << "fixed disks are not asked";

    // This machine's: drive roots, in letter order.
    roots.clear();
    for (const auto& drive : test::NativeFileSystem().driveList()) roots.push_back(drive.root);
    ASSERT_FALSE(roots.empty());
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end()));
    for (const std::string& root : roots) {
        EXPECT_EQ(root.substr(1), ":\\") << root;
        EXPECT_NE(root, "A:\\");
    }
}

TEST(Win32Settings, EveryKeyRoundTripsAndValuesWrittenByHandAreRead) {
    test::TempFolder tmp;
    test::NativeSettingsPlace place(tmp);
    for (const SettingKey& key : kSettingKeys)
        ASSERT_TRUE(place.open()->saveSetting("Tarnwick", kSettingsSection, key.key,
                                              std::string(key.key) + " value"));
    for (const SettingKey& key : kSettingKeys) {
        std::string lower(key.key);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(place.open()->getSetting("tarnwick", "settings", lower, "absent"),
                  std::string(key.key) + " value");
        EXPECT_EQ(registryText(place.key() + "\\Tarnwick\\SETTINGS", std::string(key.key)),
                  std::string(key.key) + " value")
            << "one REG_SZ value per key";
    }
    // Where the settings have always been kept, and written there by another
    // program: read as they are.
    const std::string original = "Software\\VB and VBA Program Settings\\Tarnwick\\SETTINGS";
    const std::string name = "TestValue" + std::to_string(GetCurrentProcessId());
    const std::wstring text = L"M\u00fcnchen";
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, toWide(original).c_str(), toWide(name).c_str(), REG_SZ,
                        text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
    win32::RegistrySettingsStore store;
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", name, "absent"), "M\xC3\xBCnchen");
    RegDeleteKeyValueW(HKEY_CURRENT_USER, toWide(original).c_str(), toWide(name).c_str());
    EXPECT_EQ(store.getSetting("Tarnwick", "SETTINGS", name, "absent"), "absent");
}

TEST(Win32Startup, TheRunValueQuotesAPathWithBlanksAndGoesAgain) {
    test::TempFolder tmp;
    test::NativeSettingsPlace place(tmp);
    const std::string runKey = place.key() + "\\Run";
    const std::string exe = "C:\\Program Files\\Tarnwick Test\\tarnwk.exe";
    win32::RunKeyStartup startup("Tarnwick", exe, runKey);
    EXPECT_FALSE(startup.setRegistered(true)) << "the Run key is never created";
    EXPECT_TRUE(startup.setRegistered(false)) << "nothing to remove";
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, toWide(runKey).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
    ASSERT_TRUE(startup.setRegistered(true));
    EXPECT_EQ(registryText(runKey, "Tarnwick"), "\"" + exe + "\"");
    ASSERT_TRUE(startup.setRegistered(false));
    EXPECT_EQ(registryText(runKey, "Tarnwick"), std::nullopt);
    EXPECT_TRUE(startup.setRegistered(false)) << "removing an absent value succeeds";
}

// A real program named like a definition is ended by the sweep; the
// program itself, named by another definition, is not.
TEST(Win32Processes, TheSweepEndsAChildNamedByADefinitionAndNeverUs) {
    test::TempFolder tmp;
    test::NativeFileSystem disk;
    const std::string folder(parentFolder(disk.executablePath()));
    const std::string name = "twk" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string program = tmp / name;
    ASSERT_TRUE(CopyFileW(win32::extendedPath(joinPath(folder, "tarnwk_sleeper.exe")).c_str(),
                          win32::extendedPath(program).c_str(), FALSE));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    std::wstring command = L"\"" + toWide(program) + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &child));
    const win32::Handle process(child.hProcess);
    CloseHandle(child.hThread);

    win32::Win32Processes processes;
    bool listed = false;
    for (const auto& running : processes.list())
        listed = listed || (running.id == child.dwProcessId && running.programPath &&
                            fileName(*running.programPath) == name);
    EXPECT_TRUE(listed) << "the child is listed with its program file";

    test::ScanHarness h(nullptr, tmp.path(), &processes);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string self(fileName(disk.executablePath()));
    h.program.setDefinitions(
        DefinitionsList({"Ver1.001", upper + "|Child", self + "|Ourselves", "no bar"}));
    KillMatchingProcesses(h.program);
    ASSERT_EQ(WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    EXPECT_EQ(code, 0u) << "ended by the sweep, not by its own end";
    EXPECT_FALSE(processes.terminate(processes.ownId()));
}

// The quarantine move on real files: the found file is copied into
// Quarantine and beside itself as a backup, then deleted; a read-only one
// too.
TEST(Win32Quarantine, FoundFilesMoveWithBackupsAndReadOnlyOnesToo) {
    test::TempFolder tmp;
    test::NativeFileSystem disk;
    tmp.makeFolder("app/Quarantine");
    test::FakeProcesses processes;
    test::ScanHarness h(&disk, tmp / "app", &processes);
    frmscan window(h.program);
    tmp.writeFile("scan/a/b.exe", "one");
    tmp.writeFile("scan/\xC3\xA9t\xC3\xA9/BAD.DLL", "two");
    ASSERT_TRUE(
        SetFileAttributesW(win32::extendedPath(tmp / "scan/\xC3\xA9t\xC3\xA9/BAD.DLL").c_str(),
                           FILE_ATTRIBUTE_READONLY));
    h.scanInto(window, tmp / "scan");
    ASSERT_EQ(window.lstadware.count(), 2u);
    window.lstadware.setSelected(0, true);
    window.lstadware.setSelected(1, true);
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(tmp / "app/Quarantine/b.exe") +
                  test::readWholeFile(tmp / "app/Quarantine/bad.dll"),
              "onetwo");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/a/b.TWK") +
                  test::readWholeFile(tmp / "scan/\xC3\xA9t\xC3\xA9/bad.TWK"),
              "onetwo");
    for (const char* gone : {"scan/a/b.exe", "scan/\xC3\xA9t\xC3\xA9/BAD.DLL"})
        EXPECT_EQ(GetFileAttributesW(win32::extendedPath(tmp / gone).c_str()),
                  INVALID_FILE_ATTRIBUTES)
            << gone;
    EXPECT_EQ(window.lstadware.count(), 0u);
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 2);
}

}  // namespace
}  // namespace tarnwk
