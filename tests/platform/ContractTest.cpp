// What every backend of the file system and of the settings store promises,
// checked against the fakes and the real backends alike, so a fake can never
// hide a fault the real one would show.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/posix/IniSettingsStore.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// The same small tree on either backend.
class Tree {
public:
    virtual ~Tree() = default;
    virtual platform::FileSystem& files() = 0;
    virtual std::string root() const = 0;
    virtual void folder(const std::string& relative) = 0;
    virtual void file(const std::string& relative, const std::string& content) = 0;
    virtual void link(const std::string& relative, const std::string& targetRelative) = 0;
    std::string at(const std::string& relative) const { return root() + "/" + relative; }
};

class FakeTree final : public Tree {
public:
    platform::FileSystem& files() override { return files_; }
    std::string root() const override { return "/tree"; }
    void folder(const std::string& relative) override { files_.addFolder(at(relative)); }
    void file(const std::string& relative, const std::string& content) override {
        files_.addFile(at(relative), content);
    }
    void link(const std::string& relative, const std::string& target) override {
        files_.addLink(at(relative), at(target));
    }

private:
    test::FakeFileSystem files_;
};

class DiskTree final : public Tree {
public:
    platform::FileSystem& files() override { return files_; }
    std::string root() const override { return tmp_.path(); }
    void folder(const std::string& relative) override { tmp_.makeFolder(relative); }
    void file(const std::string& relative, const std::string& content) override {
        tmp_.writeFile(relative, content);
    }
    void link(const std::string& relative, const std::string& target) override {
        fs::create_symlink(at(target), at(relative));
    }

private:
    test::TempFolder tmp_;
    posix::PosixFileSystem files_;
};

using TreeMaker = std::function<std::unique_ptr<Tree>()>;

class FileSystemContract : public ::testing::TestWithParam<TreeMaker> {
protected:
    FileSystemContract() {
        tree->file("b.exe", "found");
        tree->file(".hidden", "dot");
        tree->file("sub/inner.txt", "inner");
        tree->link("alias", "sub");
        tree->link("b-link.exe", "b.exe");
    }
    platform::FileSystem& files() { return tree->files(); }
    std::string at(const std::string& relative) const { return tree->at(relative); }

    std::unique_ptr<Tree> tree = GetParam()();
};

TEST_P(FileSystemContract, ListsPlainFilesAndFoldersButNoLinksOrDotFiles) {
    auto contents = files().readFolder(tree->root() + "/", false);
    ASSERT_TRUE(contents);
    std::sort(contents->files.begin(), contents->files.end());
    EXPECT_EQ(contents->path, tree->root());
    EXPECT_EQ(contents->files, Texts{"b.exe"});
    EXPECT_EQ(contents->subfolders, Texts{"sub"});
    EXPECT_EQ(contents->id, files().folderId(tree->root()));
    EXPECT_FALSE(files().readFolder(at("missing"), true));

    // A link is followed only where the caller asks for it (a starting folder).
    EXPECT_FALSE(files().readFolder(at("alias"), false));
    const auto followed = files().readFolder(at("alias"), true);
    ASSERT_TRUE(followed);
    EXPECT_EQ(followed->path, at("alias"));
    EXPECT_EQ(followed->files, Texts{"inner.txt"});
    EXPECT_EQ(followed->id, files().folderId(at("sub")));
}

TEST_P(FileSystemContract, FileIdentitiesTellFilesApartAndRefuseLinks) {
    const auto id = files().fileId(at("b.exe"));
    ASSERT_TRUE(id);
    EXPECT_EQ(files().fileId(at("b.exe")), id);
    EXPECT_NE(files().fileId(at("sub/inner.txt")), id);
    for (const char* none : {"b-link.exe", "sub", "missing"}) {
        EXPECT_EQ(files().fileId(at(none)), std::nullopt) << none;
        EXPECT_FALSE(files().isPlainFile(at(none))) << none;
    }
    EXPECT_TRUE(files().isPlainFile(at("b.exe")));
}

TEST_P(FileSystemContract, ACopyIsANewCompleteFileAndALinkIsNeverCopied) {
    const auto source = files().fileId(at("b.exe"));
    ASSERT_TRUE(files().copyFile(at("b.exe"), at("sub/copy.exe")));
    EXPECT_EQ(files().readFile(at("sub/copy.exe")), "found");
    const auto copy = files().fileId(at("sub/copy.exe"));
    EXPECT_NE(copy, source);
    // Replacing a file gives the name a new identity too.
    ASSERT_TRUE(files().copyFile(at("sub/inner.txt"), at("sub/copy.exe")));
    EXPECT_EQ(files().readFile(at("sub/copy.exe")), "inner");
    EXPECT_NE(files().fileId(at("sub/copy.exe")), copy);
    EXPECT_EQ(files().fileId(at("b.exe")), source);

    EXPECT_FALSE(files().copyFile(at("b-link.exe"), at("sub/linked.exe")));
    EXPECT_FALSE(files().copyFile(at("b.exe"), at("missing/b.exe")));
    EXPECT_FALSE(files().copyFile(at("missing.exe"), at("sub/none.exe")));
    EXPECT_FALSE(files().isPlainFile(at("sub/linked.exe")));
}

TEST_P(FileSystemContract, WritesReadsMeasuresMakesAndRemoves) {
    ASSERT_TRUE(files().writeFile(at("written.txt"), "12345"));
    EXPECT_EQ(files().readFile(at("written.txt")), "12345");
    const auto length = files().fileLength(at("written.txt"));
    EXPECT_EQ(length.status, platform::LengthStatus::Ok);
    EXPECT_EQ(length.bytes, 5u);
    EXPECT_EQ(files().fileLength(at("missing")).status, platform::LengthStatus::NotFound);
    EXPECT_EQ(files().fileLength(at("sub")).status, platform::LengthStatus::Failed);
    EXPECT_FALSE(files().writeFile(at("missing/x.txt"), "x"));

    ASSERT_TRUE(files().createFolder(at("made/deeper")));
    EXPECT_TRUE(files().createFolder(at("made/deeper"))) << "an existing folder is fine";
    EXPECT_TRUE(files().readFolder(at("made/deeper"), false));
    EXPECT_FALSE(files().createFolder(at("b.exe")));

    EXPECT_TRUE(files().removeFile(at("b-link.exe")));
    EXPECT_EQ(files().readFile(at("b.exe")), "found") << "removing a link keeps its target";
    EXPECT_TRUE(files().removeFile(at("b.exe")));
    EXPECT_FALSE(files().removeFile(at("b.exe")));
    EXPECT_FALSE(files().removeFile(at("sub")));
    EXPECT_EQ(files().readFile(at("b.exe")), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Backends, FileSystemContract,
                         ::testing::Values(TreeMaker([] { return std::make_unique<FakeTree>(); }),
                                           TreeMaker([] { return std::make_unique<DiskTree>(); })),
                         [](const auto& info) { return info.index == 0 ? "Fake" : "Posix"; });

// ---- Settings store ----

enum class Store { Fake, Ini };

class SettingsStoreContract : public ::testing::TestWithParam<Store> {
protected:
    // The INI store is made anew each time, so nothing can come from memory.
    platform::SettingsStore* store() {
        if (GetParam() == Store::Fake) return &fake;
        ini = std::make_unique<posix::IniSettingsStore>(tmp / "config");
        return ini.get();
    }
    std::string read(std::string_view section, std::string_view key) {
        return store()->getSetting("Tarnwick", section, key, "<default>");
    }

    test::TempFolder tmp;
    test::FakeSettingsStore fake;
    std::unique_ptr<posix::IniSettingsStore> ini;
};

TEST_P(SettingsStoreContract, ValuesReadBackUnchangedWhateverTheCaseOfTheirNames) {
    EXPECT_EQ(read("SETTINGS", "AUTORUN"), "<default>");
    const Texts values = {"",
                          " both ",
                          "a=b=c",
                          "; not a comment",
                          "[SETTINGS]",
                          "back\\slash\\",
                          "\\n \\x41",
                          "\"quoted\"",
                          "line one\nline two\r\n",
                          "\ttab\x01\x7F",
                          std::string("nul\0inside", 10),
                          "M\xC3\xBCnchen \xE6\x97\xA5",
                          std::string(10000, 'x')};
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
                         ::testing::Values(Store::Fake, Store::Ini),
                         [](const auto& info) { return info.index == 0 ? "Fake" : "Ini"; });

}  // namespace
}  // namespace tarnwk
