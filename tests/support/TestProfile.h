#pragma once
// The registry as the program finds it: its profile (HKEY_CURRENT_USER\Software\Morvel\Varnito)
// and the image viewer's key, set up and read back by the tests as plain registry values.
#include <string>

namespace testsupport {

// Deletes the profile, and the image viewer's key.
void ClearProfile();
void ClearImageViewerKey();

// A clean profile (and, when asked, no image viewer key) for the life of the object: cleared
// when it is made and when it goes.
class CleanProfile {
public:
    explicit CleanProfile(bool withoutImageViewer = false);
    ~CleanProfile();
    CleanProfile(const CleanProfile&) = delete;
    CleanProfile& operator=(const CleanProfile&) = delete;

private:
    bool withoutImageViewer_;
};

// Makes the image viewer's key with its Path value (REG_EXPAND_SZ when expandable); a null
// path makes the key alone. False when the key cannot be made.
bool WriteImageViewerPath(const char* path, bool expandable = false);

void WriteProfileText(const char* name, const std::string& value);
void WriteProfileNumber(const char* name, int value);
// What the reads give for a value that is not there.
constexpr char MissingText[] = "<missing>";
constexpr int MissingNumber = -12345;
std::string ReadProfileText(const char* name);
int ReadProfileNumber(const char* name);
// The value as the wide registry functions read it (MissingText in UTF-16 when absent).
std::wstring ReadProfileWideText(const char* name);

}  // namespace testsupport
