// The walk's fixture: definitions, a recording view, and one call of Peek
// over any file system.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/Peek.h"
#include "support/FakePlatform.h"
#include "support/NativePath.h"
#include "support/RecordingScanView.h"

namespace tarnwk {

// The header is never a definition, even with a bar; nor is an entry without one.
inline const DefinitionsList kDefinitions{
    std::vector<std::string>{"Ver1.001|x", "b.exe|Bee", "A.DLL|Ay", "dup.exe|One", "DUP.EXE|Two",
                             "Évil.exe|Évil > worse", "empty.exe|", "notes.txt"}};

class WalkTest : public ::testing::Test {
protected:
    void peek(platform::FileSystem& on, const std::string& location, bool getFiles = true) {
        Walk walk(on, kDefinitions, index, view, state);
        if (!excluded.empty()) walk.setExcludedFolder(excluded);
        walk.setStayOnFileSystem(stayOnVolume);
        walk.setThreads(threads);
        walk.Peek(location, getFiles);
    }
    void peek(const std::string& location, bool getFiles = true) {
        peek(files, location, getFiles);
    }

    test::FakeFileSystem files;
    DefinitionIndex index{kDefinitions};
    test::RecordingScanView view;
    ScanState state;
    std::string excluded;
    bool stayOnVolume = false;
    unsigned threads = 1;
};

}  // namespace tarnwk
