#pragma once
#include <windows.h>
#include <string>
#include "core/ProfileValues.h"
#include "core/RegistryKey.h"
#include "framework/CmdTarget.h"

// The window placement the archive list window stores: the fields of WINDOWPLACEMENT after
// its length, in that record's order.
struct IntList10 {
    int flags = 0;
    int showCmd = 0;
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The only road to the profile (HKEY_CURRENT_USER\Software\Morvel\Varnito). Stateless:
// create one on the stack where a value is needed.
class CSettingIO : public CCmdTarget {
public:
    // A value of ProfileValues.h, with its own default. A text value is any path the wide
    // file functions take: one longer than MaxWidePathLength units reads as the default, and
    // Write refuses it (false, the stored value kept), since cut it could name another folder
    // or program. A text the "A" functions stored (code page 932) reads back as that text.
    std::wstring Read(const TextValue& value);
    int Read(const NumberValue& value);
    bool Write(const TextValue& value, const std::wstring& text);
    bool Write(const NumberValue& value, int number);

    // Reads a string value; a null default reads as empty, and so does a value longer than 259
    // bytes: it reads as the default. When out is given (260 bytes) the value is copied there
    // too.
    std::string ReadString(const char* section, const char* key, const char* defaultValue, char* out);
    int ReadInt(const char* section, const char* key, int defaultValue);
    bool WriteString(const char* section, const char* key, const char* value);
    bool WriteInt(const char* section, const char* key, int value);

    // The key of a section of the profile, for values the functions above cannot hold (names
    // of any text, values to delete): made when missing if `create`, else empty when missing;
    // empty without an application object.
    RegistryKey SectionKey(const char* section, bool create);

    // Ten integers as "%i:%i:...:%i". ReadIntList yields 1 only when all ten converted.
    int ReadIntList(const char* key, IntList10* record);
    int WriteIntList(const char* key, const IntList10& record);
};

// Parses the text form of an IntList10 under the C rules for %i. 1 when all ten converted.
int ParseIntList(const char* text, IntList10* record);
// The text form of an IntList10.
std::string FormatIntList(const IntList10& record);

// A window placement as an IntList10 holds it, and back (with its length set).
IntList10 PlacementRecord(const WINDOWPLACEMENT& placement);
WINDOWPLACEMENT PlacementOf(const IntList10& record);
