// What every backend of the file system and of the settings store promises,
// checked against the fakes and the real backends alike, so a fake can never
// hide a fault the real one would show.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "NativeServices.h"
#include "support/FakePlatform.h"
#include "support/Links.h"
#include "support/NativePath.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// The same small tree on either backend.
class FileSystemContract : public ::testing::TestWithParam<bool> {
protected:
    FileSystemContract() {
        file("b.exe", "found");
        file(".hidden", "dot");
        file("sub/inner.txt", "inner");
        file("sub/deeper/x", "x");
        link("alias", "sub");
        fileLinked = link("b-link.exe", "b.exe");
        root = files().openFolder(rootPath() + "/");
    }
    platform::FileSystem& files() {
        return onDisk ? static_cast<platform::FileSystem&>(disk) : fake;
    }
    std::string rootPath() const { return onDisk ? tmp.path() : "/tree"_path; }
    std::string at(const std::string& relative) const {
        return rootPath() + kPathSeparator + test::nativePath(relative);
    }
    void file(const std::string& relative, const std::string& content) {
        onDisk ? (void)tmp.writeFile(relative, content) : fake.addFile(at(relative), content);
    }
    // False when the system cannot make a link to a file it tells for one.
    bool link(const std::string& relative, const std::string& target) {
        if (onDisk && !disk.openFolder(at(target))) return test::linkFile(at(target), at(relative));
        onDisk ? test::linkFolder(at(target), at(relative))
               : fake.addLink(at(relative), at(target));
        return true;
    }
    Texts names(platform::Folder& folder, platform::EntryKind kind) {
        platform::FolderListing listing;
        EXPECT_TRUE(folder.list(listing));
        Texts found;
        for (std::size_t i = 0; i < listing.size(); ++i)
            if (listing.kind(i) == kind) found.emplace_back(listing.name(i));
        std::sort(found.begin(), found.end());
        return found;
    }

    const bool onDisk = GetParam();
    test::TempFolder tmp;
    test::NativeFileSystem disk;
    test::FakeFileSystem fake;
    bool fileLinked = false;
    std::unique_ptr<platform::Folder> root;
};

TEST_P(FileSystemContract, ListsPlainFilesAndFoldersButNoLinksOrDotFiles) {
    ASSERT_TRUE(root);
    EXPECT_EQ(names(*root, platform::EntryKind::File), Texts{"b.exe"});
    EXPECT_EQ(names(*root, platform::EntryKind::Folder), Texts{"sub"});
    EXPECT_EQ(files().fullPath(rootPath() + "/sub/../"), rootPath());
    EXPECT_FALSE(files().openFolder(at("missing")));
    EXPECT_FALSE(files().openFolder(at("b.exe")));
    EXPECT_FALSE(files().openFolder(""));
    // A link is followed only in a path given by name.
    const auto alias = files().openFolder(at("alias"));
    ASSERT_TRUE(alias);
    EXPECT_EQ(names(*alias, platform::EntryKind::File), Texts{"inner.txt"});
    EXPECT_FALSE(root->openFolder("alias"));
    EXPECT_FALSE(root->openFolder("../" + fs::path(rootPath()).filename().string()));
    const auto sub = root->openFolder("sub");
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->id(), alias->id());
    EXPECT_TRUE(sub->id().sameVolume(root->id()));
    EXPECT_TRUE(root->openFolder("sub", true, sub->id()));
    EXPECT_FALSE(root->openFolder("sub", false, root->id())) << "not the folder expected";

    // A handle keeps its folder, and a name swapped for a link is refused.
    onDisk ? fs::rename(at("sub"), at("moved")) : fake.rename(at("sub"), at("moved"));
    link("sub", "moved/deeper");
    EXPECT_EQ(names(*sub, platform::EntryKind::File), Texts{"inner.txt"});
    EXPECT_TRUE(sub->openFolder("deeper") || (onDisk && !test::handlesFollowRenamedFolders()));
    EXPECT_FALSE(root->openFolder("sub"));
    EXPECT_EQ(root->fileId("sub"), std::nullopt);
}

TEST_P(FileSystemContract, FileIdentitiesCopiesAndRemovals) {
    const auto id = root->fileId("b.exe");
    ASSERT_TRUE(id);
    for (const char* none : {"b-link.exe", "sub", "missing", "../b.exe"})
        EXPECT_EQ(root->fileId(none), std::nullopt) << none;
    auto sub = root->openFolder("sub");
    ASSERT_TRUE(sub);

    using platform::CopyResult;
    ASSERT_EQ(root->copyFile("b.exe", *sub, "copy.exe"), CopyResult::Copied);
    const auto copy = sub->fileId("copy.exe");
    EXPECT_NE(copy, id) << "a copy is a new file";
    EXPECT_EQ(sub->copyFile("inner.txt", *sub, "copy.exe", false), CopyResult::NameTaken);
    EXPECT_EQ(files().readFile(at("sub/copy.exe")), "found");
    ASSERT_EQ(sub->copyFile("inner.txt", *sub, "copy.exe"), CopyResult::Copied);
    EXPECT_EQ(files().readFile(at("sub/copy.exe")), "inner");
    EXPECT_NE(sub->fileId("copy.exe"), copy) << "a replaced file is a new file";
    for (const char* none : {"b-link.exe", "missing"})
        EXPECT_EQ(root->copyFile(none, *sub, "none.exe"), CopyResult::Failed) << none;
    EXPECT_EQ(root->copyFile("b.exe", *sub, "deeper"), CopyResult::Failed);

    EXPECT_EQ(root->removeFile("b-link.exe"), fileLinked);
    EXPECT_EQ(files().readFile(at("b.exe")), "found") << "removing a link keeps its target";
    EXPECT_TRUE(root->removeFile("b.exe"));
    EXPECT_FALSE(root->removeFile("b.exe"));
    EXPECT_FALSE(root->removeFile("sub"));
}

TEST_P(FileSystemContract, WritesReadsMeasuresAndMakesByPath) {
    ASSERT_TRUE(files().writeFile(at("written.txt"), "1\r\n2\n"));  // no line end translated
    EXPECT_EQ(files().readFile(at("written.txt")), "1\r\n2\n");
    const auto length = files().fileLength(at("written.txt"));
    EXPECT_EQ(std::pair(length.status, length.bytes),
              std::pair(platform::LengthStatus::Ok, std::uint64_t{5}));
    EXPECT_EQ(files().fileLength(at("missing")).status, platform::LengthStatus::NotFound);
    EXPECT_EQ(files().fileLength(at("sub")).status, platform::LengthStatus::Failed);
    EXPECT_FALSE(files().writeFile(at("missing/x.txt"), "x"));
    ASSERT_TRUE(files().createFolder(at("made/deeper")));
    EXPECT_TRUE(files().createFolder(at("made/deeper"))) << "an existing folder is fine";
    EXPECT_FALSE(files().createFolder(at("b.exe")));
    EXPECT_TRUE(files().removeFile(at("written.txt")));
    EXPECT_FALSE(files().removeFile(at("sub")));
}

INSTANTIATE_TEST_SUITE_P(Backends, FileSystemContract, ::testing::Bool(), [](const auto& info) {
    return info.param ? test::kNativeFileSystemName : "Fake";
});

// ---- Settings store ----

enum class Store { Fake, Native };

class SettingsStoreContract : public ::testing::TestWithParam<Store> {
protected:
    // The real store is made anew each time, so nothing can come from memory.
    platform::SettingsStore* store() {
        if (GetParam() == Store::Fake) return &fake;
        native = place.open();
        return native.get();
    }
    std::string read(std::string_view section, std::string_view key) {
        return store()->getSetting("Tarnwick", section, key, "<default>");
    }

    test::TempFolder tmp;
    test::NativeSettingsPlace place{tmp};
    test::FakeSettingsStore fake;
    std::unique_ptr<platform::SettingsStore> native;
};

TEST_P(SettingsStoreContract, ValuesReadBackUnchangedWhateverTheCaseOfTheirNames) {
    EXPECT_EQ(read("SETTINGS", "AUTORUN"), "<default>");
    // clang-format off
    const Texts values = {"", " both ", "trailing ", "a=b=c", "; not a comment", "[SETTINGS]",
                          "back\\slash\\", "\\n \\x41", "\"quoted\"", "line one\nline two\r\n",
                          "\ttab\x01\x7F", std::string("nul\0inside", 10),
                          "M\xC3\xBCnchen \xE6\x97\xA5", std::string(10000, 'x')};
    // clang-format on
    for (std::size_t i = 0; i < values.size(); ++i)
        ASSERT_TRUE(
            store()->saveSetting("Tarnwick", "SETTINGS", "Value" + std::to_string(i), values[i]));
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(read("settings", "VALUE" + std::to_string(i)), values[i]) << i;

    ASSERT_TRUE(store()->saveSetting("tarnwick", "Settings", "value0", "replaced"));
    ASSERT_TRUE(store()->saveSetting("Tarnwick", "Window", "Value0", "elsewhere"));
    EXPECT_EQ(store()->getSetting("TARNWICK", "SETTINGS", "Value0", "d"), "replaced");
    EXPECT_EQ(read("Window", "Value0"), "elsewhere");
    EXPECT_EQ(read("Window", "Value1"), "<default>");
    EXPECT_EQ(store()->getSetting("Other", "SETTINGS", "Value0", "d"), "d");
    // A value cannot smuggle in sections or keys.
    ASSERT_TRUE(store()->saveSetting("Tarnwick", "SETTINGS", "Note", "x\n[Other]\nLeft=9"));
    EXPECT_EQ(read("Other", "Left"), "<default>");
}

INSTANTIATE_TEST_SUITE_P(Backends, SettingsStoreContract,
                         ::testing::Values(Store::Fake, Store::Native), [](const auto& info) {
                             return info.index == 0 ? "Fake" : test::kNativeSettingsName;
                         });

}  // namespace
}  // namespace tarnwk
