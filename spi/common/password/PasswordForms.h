#pragma once
// The byte forms in which a typed password is tried. The dialog gives code page 932 bytes, as
// Japanese Windows' archivers use them; archives made on other systems hold the password's
// UTF-8 bytes (ZIP), and 7z always takes it as UTF-16LE.
#include <string>

namespace password {

// The typed text in UTF-8; empty when the bytes are not valid code page 932 (or empty).
std::string AsUtf8(const std::string& cp932);
// The typed text in UTF-16LE bytes, without a terminator; empty as above.
std::string AsUtf16Le(const std::string& cp932);

}  // namespace password
