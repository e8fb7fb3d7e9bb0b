#pragma once
// Zip.spi (Zip.sph) loaded as a host loads it, and the calls the tests make through its exports.
#include <windows.h>
#include <string>
#include <vector>
#include "tests/support/SpiLibrary.h"

using ZipPlugin = SpiLibrary;

// The plug-in of this build, loaded once for the whole test program (null members on failure).
const ZipPlugin& Plugin();
std::string PluginPath();
// The folder the archives were made in, with a trailing '\'.
std::string Fixtures();

// GetArchiveInfo and GetFile of the plug-in, the blocks released.
using Listing = SpiListing;
using Fetched = SpiFetched;
Listing ListArchive(const std::string& archive);

Fetched FetchEntry(const std::string& archive, LONG_PTR position,
                   SpiProgressCallback progress = nullptr, LONG_PTR data = 0);

// The entry of that joined name; null when there is none.
const ArchiveEntry* FindEntry(const Listing& listing, const std::string& joinedName);
