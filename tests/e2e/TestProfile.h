#pragma once
// The profile Varnito.exe reads (HKEY_CURRENT_USER\Software\Morvel\Varnito of the test
// prefix), written and read back by the tests as plain registry values.
#include <string>

namespace e2e {

// Starts a clean profile: the bundled plug-ins, immediate mode or list mode, the destination
// of immediate extraction, no folder window afterwards, overwrite questions on.
void PrepareProfile(int defrostingMode, const std::string& destination = "");

void WriteProfileText(const char* name, const std::string& value);
void WriteProfileNumber(const char* name, int value);
std::string ReadProfileText(const char* name);  // "<missing>" when absent
int ReadProfileNumber(const char* name);        // -12345 when absent

// Makes `program` the "open" handler of files ending in `extension` (".xyz") for this user.
void RegisterOpenHandler(const std::string& extension, const std::string& program);
void RemoveOpenHandler(const std::string& extension);

}  // namespace e2e
