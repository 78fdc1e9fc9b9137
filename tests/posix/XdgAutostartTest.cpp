#include "platform/posix/XdgAutostart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "platform/posix/ConfigHome.h"
#include "support/TempFolder.h"

namespace tarnwk::test {
namespace {

using posix::XdgAutostart;
namespace fs = std::filesystem;

std::string expectedEntry(const std::string& execValue) {
    return "[Desktop Entry]\nType=Application\nName=Tarnwick\nExec=" + execValue +
           "\nX-GNOME-Autostart-enabled=true\nTerminal=false\n";
}

std::vector<std::string> linesStartingWith(const std::string& text, std::string_view prefix) {
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.starts_with(prefix)) found.push_back(line.substr(prefix.size()));
    return found;
}

// Reads the program back out of an Exec value the way a desktop reads it,
// written apart from the code under test: undo the string escapes, then take
// one double-quoted argument, then turn %% into %. nullopt when the value is
// not exactly one well-formed quoted argument.
std::optional<std::string> programFromExec(std::string_view value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            unescaped += value[i];
            continue;
        }
        const char next = value[++i];
        if (next == 's')
            unescaped += ' ';
        else if (next == 'n')
            unescaped += '\n';
        else if (next == 't')
            unescaped += '\t';
        else if (next == 'r')
            unescaped += '\r';
        else if (next == '\\')
            unescaped += '\\';
        else
            return std::nullopt;
    }
    if (unescaped.size() < 2 || unescaped.front() != '"' || unescaped.back() != '"')
        return std::nullopt;
    std::string argument;
    for (std::size_t i = 1; i + 1 < unescaped.size(); ++i) {
        char c = unescaped[i];
        if (c == '"' || c == '`' || c == '$') return std::nullopt;  // must have been escaped
        if (c == '\\') {
            c = unescaped[++i];
            if (i + 1 == unescaped.size()) return std::nullopt;  // escaped the closing quote
            if (c != '"' && c != '`' && c != '$' && c != '\\') return std::nullopt;
        }
        argument += c;
    }
    std::string program;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] == '%' && (i + 1 == argument.size() || argument[++i] != '%'))
            return std::nullopt;  // a field code, or a lone '%'
        program += argument[i];
    }
    return program;
}

class XdgAutostartTest : public ::testing::Test {
protected:
    XdgAutostart autostartFor(const std::string& executable) const {
        return XdgAutostart(configHome, "Tarnwick", executable);
    }
    std::string execLine() const {
        const auto execs = linesStartingWith(readWholeFile(desktopFile), "Exec=");
        EXPECT_EQ(execs.size(), 1u);
        return execs.empty() ? std::string() : execs.front();
    }

    TempFolder temp;
    // Not created up front: registering must create it.
    const std::string configHome = temp / "config";
    const std::string desktopFile = configHome + "/autostart/Tarnwick.desktop";
};

// ---- The entry ----

TEST_F(XdgAutostartTest, DesktopFileLivesInTheAutostartFolder) {
    EXPECT_EQ(autostartFor("/opt/tarnwick/tarnwick").desktopFilePath(), desktopFile);
}

TEST_F(XdgAutostartTest, WritesTheEntryForAPlainPath) {
    ASSERT_TRUE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(true));
    EXPECT_EQ(readWholeFile(desktopFile), expectedEntry("\"/opt/tarnwick/tarnwick\""));
}

TEST_F(XdgAutostartTest, PathWithBlanksStaysOneArgument) {
    ASSERT_TRUE(autostartFor("/home/user/My Programs/Tarnwick 1.1/tarnwick").setRegistered(true));
    EXPECT_EQ(readWholeFile(desktopFile),
              expectedEntry("\"/home/user/My Programs/Tarnwick 1.1/tarnwick\""));
}

TEST_F(XdgAutostartTest, ReservedCharactersAreEscapedTwice) {
    ASSERT_TRUE(autostartFor(R"(/opt/a"b\c$d`e%f/tarnwick)").setRegistered(true));
    // Quote, backslash, dollar and backtick take a backslash inside the
    // quotes; the string escape then doubles every backslash; % becomes %%.
    EXPECT_EQ(execLine(), R"("/opt/a\\"b\\\\c\\$d\\`e%%f/tarnwick")");
}

TEST_F(XdgAutostartTest, ExecReadsBackAsTheSamePath) {
    const std::vector<std::string> paths = {
        "/usr/bin/tarnwick",
        "/opt/with blank/tarnwick",
        " /leading blank",
        R"(/q"uote/b\ack/d$ollar/b`acktick)",
        R"(/\\two\\\backslashes\)",
        "/percent/%f/%%/%",
        "/shell/'single'/;&|<>~*?#()[]{}!=",
        "/utf8/M\xC3\xBCnchen/\xE6\x97\xA5\xE6\x9C\xAC",
    };
    for (const auto& path : paths) {
        const std::string entry = XdgAutostart::desktopEntry("Tarnwick", path);
        const auto execs = linesStartingWith(entry, "Exec=");
        ASSERT_EQ(execs.size(), 1u) << path;
        EXPECT_EQ(programFromExec(execs.front()), path) << execs.front();
    }
}

TEST_F(XdgAutostartTest, ControlCharactersAreRefused) {
    for (const std::string path :
         {"/opt/new\nline", "/opt/tab\t", "/opt/cr\r", "/opt/\x01", "/opt/del\x7F", ""}) {
        EXPECT_EQ(XdgAutostart::desktopEntry("Tarnwick", path), "") << path;
        EXPECT_FALSE(autostartFor(path).setRegistered(true)) << path;
    }
    EXPECT_FALSE(fs::exists(desktopFile));
}

TEST_F(XdgAutostartTest, RefusedPathLeavesTheRegistrationAlone) {
    ASSERT_TRUE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(true));
    EXPECT_FALSE(autostartFor("/opt/bad\npath").setRegistered(true));
    EXPECT_EQ(execLine(), "\"/opt/tarnwick/tarnwick\"");
}

// ---- Registering and removing ----

TEST_F(XdgAutostartTest, CreatesMissingFolders) {
    ASSERT_FALSE(fs::exists(configHome));
    ASSERT_TRUE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(true));
    EXPECT_TRUE(fs::is_regular_file(desktopFile));
    // Written atomically: nothing else is left beside it.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(configHome + "/autostart"))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Tarnwick.desktop"});
}

TEST_F(XdgAutostartTest, RegisterFailsWhenTheFolderCannotBeMade) {
    temp.writeFile("config/autostart", "a file, not a folder");
    EXPECT_FALSE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(true));
    EXPECT_EQ(readWholeFile(configHome + "/autostart"), "a file, not a folder");
}

TEST_F(XdgAutostartTest, ReRegisterFollowsAMovedExecutable) {
    ASSERT_TRUE(autostartFor("/old/place/tarnwick").setRegistered(true));
    ASSERT_TRUE(autostartFor("/new/place/tarnwick").setRegistered(true));
    EXPECT_EQ(readWholeFile(desktopFile), expectedEntry("\"/new/place/tarnwick\""));
}

TEST_F(XdgAutostartTest, UnregisterRemovesTheFile) {
    auto autostart = autostartFor("/opt/tarnwick/tarnwick");
    ASSERT_TRUE(autostart.setRegistered(true));
    ASSERT_TRUE(fs::exists(desktopFile));
    EXPECT_TRUE(autostart.setRegistered(false));
    EXPECT_FALSE(fs::exists(desktopFile));
}

TEST_F(XdgAutostartTest, UnregisterWhenAbsentSucceeds) {
    EXPECT_TRUE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(false));
    temp.makeFolder("config/autostart");
    EXPECT_TRUE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(false));
}

TEST_F(XdgAutostartTest, UnregisterReportsWhatItCannotRemove) {
    temp.writeFile("config/autostart/Tarnwick.desktop/inside", "x");
    EXPECT_FALSE(autostartFor("/opt/tarnwick/tarnwick").setRegistered(false));
}

// ---- Where the configuration lives ----

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(ConfigHomeTest, UsesAnAbsoluteXdgConfigHome) {
    ScopedVariable home("HOME", "/home/someone");
    ScopedVariable config("XDG_CONFIG_HOME", "/elsewhere/config");
    EXPECT_EQ(posix::configHome(), "/elsewhere/config");
}

TEST(ConfigHomeTest, IgnoresARelativeOrEmptyXdgConfigHome) {
    ScopedVariable home("HOME", "/home/someone");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(posix::configHome(), "/home/someone/.config");
    }
    {
        ScopedVariable config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(posix::configHome(), "/home/someone/.config");
    }
    ScopedVariable config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(posix::configHome(), "/home/someone/.config");
}

TEST(ConfigHomeTest, HomeFallsBackToThePasswordEntry) {
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = entry->pw_dir;
    {
        ScopedVariable home("HOME", "");
        EXPECT_EQ(posix::homeFolder(), expected);
    }
    ScopedVariable home("HOME", nullptr);
    EXPECT_EQ(posix::homeFolder(), expected);
}

}  // namespace
}  // namespace tarnwk::test
