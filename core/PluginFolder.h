#pragma once
#include <string>

// The plug-in folder this process loads: the SpiFold setting, or, while that is empty, the
// `plugins` folder beside the program where there is one, so that a package opens archives
// straight after unpacking. Start-up never writes the fallback to the profile (it follows
// the program wherever it is moved); the settings dialog shows it and stores it on OK.
// Empty when there is neither. At most 259 bytes.
std::string PluginFolderInUse();

// The `plugins` folder beside the program ("<program folder>\plugins"); empty when it does
// not exist or its path does not fit a 260-byte buffer.
std::string BundledPluginFolder();
