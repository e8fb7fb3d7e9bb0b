#pragma once
// The passwords of the plug-in this is linked into: one PasswordMemory for the whole library
// (the rule of when to ask), its dialog, and the byte forms in which each typed password is
// tried. Calls may come from several threads; one of them at a time asks or tries.
#include <string>
#include <vector>

#include "spi/common/PasswordSource.h"
#include "spi/common/password/PasswordMemory.h"

namespace password {

// The byte forms a typed password is tried in, in the order given (see PasswordForms.h).
enum class PasswordForm { Cp932, Utf8, Utf16Le };

// Every call of the host that names an archive file passes it here first (see
// PasswordMemory::ArchiveCalled).
void ArchiveCalled(const wchar_t* archivePath);

// The plug-in's password for the archive, from its memory or the dialog (after a wrong one,
// the dialog again with its line), in code page 932 as typed. For formats that cannot check a
// password before decoding with it; the others use ArchivePasswords.
PromptAnswer ObtainTyped(const std::wstring& archivePath, bool afterWrongOne, std::string* typed);

// Passwords for the entries (or headers) of the archive at archivePath, as the host names it.
class ArchivePasswords : public PasswordSource {
public:
    ArchivePasswords(std::wstring archivePath, std::vector<PasswordForm> forms);
    int Unlock(const Trial& trial) override;

private:
    std::wstring archivePath_;
    std::vector<PasswordForm> forms_;
};

// ArchivePasswords::Unlock on a memory of the caller's (tests answer for the user).
int UnlockWith(PasswordMemory& memory, const std::wstring& archivePath, const std::vector<PasswordForm>& forms,
               const PasswordSource::Trial& trial);

}  // namespace password
