#pragma once
// An open registry key, owned: closed when the object goes. Names and texts are UTF-16,
// through the wide registry functions; a null or empty value name is the key's default value.
#include <windows.h>
#include <string>
#include <vector>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // An existing key, for reading only or for changing too; empty when it is not there.
    static RegistryKey Open(HKEY parent, const std::wstring& path, bool writable = false);
    // The key, made with every missing key along the path; empty when that fails.
    static RegistryKey Create(HKEY parent, const std::wstring& path);

    explicit operator bool() const { return key_ != nullptr; }
    HKEY Handle() const { return key_; }

    // A REG_SZ value whole into *text; false (and *text untouched) when it is missing or of
    // another type.
    bool ReadText(const wchar_t* name, std::wstring* text) const;
    bool WriteText(const wchar_t* name, const std::wstring& text) const;
    // True when the value is gone afterwards (it may not have been there).
    bool DeleteValue(const wchar_t* name) const;
    // Names of the key's direct subkeys.
    std::vector<std::wstring> SubkeyNames() const;
    // True when the key holds neither values (its default included) nor subkeys.
    bool IsEmpty() const;

private:
    explicit RegistryKey(HKEY key) : key_(key) {}
    HKEY key_ = nullptr;
};
