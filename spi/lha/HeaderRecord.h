#pragma once
// The record the plug-in keeps for one member header.
#include <string>
#include "spi/common/EntryRecord.h"
#include "spi/lha/LhaHeader.h"

namespace lha {

// The header's name as kept (NameText.h): UTF-8 when the archive's names are (`namesUtf8`,
// Utf8NameGuess), else code page 932 as LHA archivers on Windows store them.
std::string KeptName(const Header& header, bool namesUtf8);

// Fills *record under `name` (KeptName, kept apart from the archive's other names): the
// method id, the header's offset as position, sizes, time in seconds since 1970 UTC and the
// CRC-16, the name cleaned and split as every plug-in's (FillRecord). SpiResult of FillRecord;
// *skip for a name of which nothing is left once cleaned.
int DescribeHeader(const Header& header, const std::string& name, NamedRecord* record, bool* skip);

}  // namespace lha
