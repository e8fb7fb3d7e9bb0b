#pragma once
// The plug-in loader of the tests: a temporary plug-in folder filled with copies of the fixture
// plug-ins or of our own plug-ins, script archives beside it, and a table loaded from it. The
// script format is described in tests/fixture/Fixture.cpp.
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include "plugins/PluginTable.h"
#include "tests/fixture/FixtureControl.h"
#include "tests/support/TestSupport.h"

class PluginTestFolder {
public:
    // The plug-in folder, with a trailing backslash.
    std::string Path() const { return plugins_.path(); }
    // Copies a fixture variant into the folder as `name`; a non-empty config becomes its
    // settings file. Returns the copy's full path.
    std::string Add(const std::string& name, const char* variant = "fixture", const std::string& config = "");
    // Copies any plug-in file into the folder as `name`; returns the copy's full path.
    std::string AddCopy(const std::string& source, const std::string& name);
    // Writes an archive script ("#fixture" and the given lines) outside the plug-in folder.
    std::string Archive(const std::string& name, const std::string& lines) const;
    // Writes any file outside the plug-in folder.
    std::string File(const std::string& name, const std::string& bytes) const;

private:
    testsupport::TempDir plugins_;
    testsupport::TempDir archives_;
};

// A table loaded from the folder.
std::unique_ptr<CPluginTable> LoadTable(const std::string& folder, int* count = nullptr);

// A test of one of our plug-ins alone in a plug-in folder, loaded by the host's table: the
// build's plug-in file `source`, copied into the folder as `name`.
class OnePluginInHost : public testing::Test {
protected:
    OnePluginInHost(std::string source, std::string name) : source_(std::move(source)), name_(std::move(name)) {}

    void SetUp() override {
        plugins.AddCopy(source_, name_);
        int count = 0;
        table = LoadTable(plugins.Path(), &count);
        ASSERT_EQ(count, 1);
    }

    // The table shows the plug-in under its file name, as an archive plug-in with these
    // extensions and an information text that names the format.
    void ExpectTableShows(const char* extensions, const char* format) const {
        EXPECT_EQ(testsupport::Wide(name_), table->Slot(0).fileName);
        EXPECT_EQ(table->Slot(0).isArchive, 1);
        EXPECT_STREQ(table->Slot(0).extensions, extensions);
        EXPECT_NE(strstr(table->Slot(0).infoText, format), nullptr);
    }

    PluginTestFolder plugins;
    testsupport::TempDir archives;
    std::unique_ptr<CPluginTable> table;

private:
    std::string source_;
    std::string name_;
};

// How a test's listing ended: the host's result and the slot that listed the archive.
struct TestListing {
    PluginResult result;
    int slot;
    bool Listed() const { return result == PluginSucceeded; }
};

// Lists the archive (a path in code page 932, as the tests keep them) through the table into
// *listed.
TestListing ListInto(CPluginTable& table, const std::string& archivePath, ListedArchive* listed);
// An entry's joined name (folder part, then file name) and its file name, in code page 932 as
// our plug-ins' ANSI exports give them ('_' for a character it cannot spell): the form the
// reference copies of the tests' archives are named in.
std::string JoinedName(const ListedEntry& entry);
std::string FileNameOf(const ListedEntry& entry);
std::string FolderOf(const ListedEntry& entry);
