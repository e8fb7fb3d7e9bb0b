#pragma once
// Registry keys as tests look at them and tidy them up.
#include <windows.h>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

// Every key of the subtree root\path, the top one included, and every value of them, by path
// ("key", "key|value name"): a key's text is the time it was last written when withTimes (else
// empty), a value's its type and bytes. Empty when the key is missing.
std::map<std::wstring, std::wstring> RegistryTree(HKEY root, const std::wstring& path, bool withTimes = false);

// The text of a REG_SZ value (the default value for an empty name), MissingWide when there is
// none.
constexpr wchar_t MissingWide[] = L"<missing>";
std::wstring RegistryText(HKEY root, const std::wstring& path, const wchar_t* name = L"");
bool RegistryKeyExists(HKEY root, const std::wstring& path);
bool WriteRegistryText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text);

// Keys a test may write, deleted with all below them when the object is made (what a test that
// broke off left) and when it goes.
class DeletedKeys {
public:
    DeletedKeys(HKEY root, std::vector<std::wstring> paths);
    ~DeletedKeys();
    DeletedKeys(const DeletedKeys&) = delete;
    DeletedKeys& operator=(const DeletedKeys&) = delete;

private:
    void DeleteAll() const;
    HKEY root_;
    std::vector<std::wstring> paths_;
};

// A key that a test may make: deleted with all below it when the object goes, unless it was
// there when the object was made.
class KeyRemovedIfNew {
public:
    KeyRemovedIfNew(HKEY root, std::wstring path);
    ~KeyRemovedIfNew();
    KeyRemovedIfNew(const KeyRemovedIfNew&) = delete;
    KeyRemovedIfNew& operator=(const KeyRemovedIfNew&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    bool existed_;
};

}  // namespace testsupport
