#pragma once
// What unzip made of an archive at build time, read back for comparison.
#include <map>
#include <string>
#include "tests/support/ExtractedTree.h"

using UnzippedItem = testsupport::ExtractedItem;
using testsupport::UnixTime;

// Everything under Fixtures()\expected\<name>\, by joined entry name ("tree\docs\" for a folder).
std::map<std::string, UnzippedItem> UnzippedTree(const std::string& name);
