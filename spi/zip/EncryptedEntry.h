#pragma once
// Unpacks an encrypted entry: the traditional PKWARE encryption (ZipCrypto) or WinZip's AES
// (AE-1, AE-2), with a password from the plug-in's PasswordSource.
#include "spi/common/ByteSource.h"
#include "spi/common/OutputSink.h"
#include "spi/common/PasswordSource.h"
#include "spi/common/ProgressReport.h"
#include "spi/zip/ZipFormat.h"

namespace zip {

// As ExtractEntry, once a password opens the entry. A wrong password writes nothing to the
// sink: ZipCrypto's header check and AES's password verifier fail first, and the password is
// asked again. AES's authentication code is checked before the first byte reaches the sink.
// SpiResult: also SpiAborted when no password was given, SpiBrokenData for a failed code.
int ExtractEncryptedEntry(ByteSource& source, const Entry& entry, OutputSink& sink, ProgressReport* progress,
                          PasswordSource& passwords);

}  // namespace zip
