#pragma once
// The archives make_fixtures.py made with 7z, tar and bsdtar, what those tools extracted from
// them, and 7z.spi and Tar.spi (.sph) loaded as a host loads them.
#include <windows.h>
#include <cstdint>
#include <map>
#include <string>
#include "tests/support/ExtractedTree.h"
#include "tests/support/SpiLibrary.h"

namespace archivetest {

// The folder the archives were made in, with a trailing '\'.
std::string Fixtures();
// This build's plug-in file of that base name ("7z", "Tar") beside the tests folder.
std::string PluginPath(const std::string& base);
// The plug-ins, loaded once for the whole test program (null members on failure).
const SpiLibrary& SevenZip();
const SpiLibrary& Tar();

// What the reference tool extracted from an archive: Fixtures()\expected\<archive>\, by joined
// entry name ("tree\docs\" for a folder).
std::map<std::string, testsupport::ExtractedItem> ReferenceTree(const std::string& archive);

// Lists the archive with the plug-in and checks every entry against the reference tool's copy:
// the same names, folders and files, sizes, times and bytes (each entry fetched to memory), and
// for a 7z archive the CRC each record states.
void ExpectSameAsReference(const SpiLibrary& plugin, const std::string& archive, bool checksCrc);

// The entry of that joined name; null when there is none.
const ArchiveEntry* FindEntry(const SpiListing& listing, const std::string& joinedName);

uint32_t Crc32(const std::string& bytes);

}  // namespace archivetest
