#pragma once
#include <string>

// The plug-in folder this process loads, for plug-in files named `*.<pluginExtension>` (the
// running build's kind): the SpiFold setting (the user's, or the one taken from an installed
// image viewer) when it holds such a file; otherwise the `plugins` folder beside the program
// where there is one, so that a package opens archives straight after unpacking, and a 64-bit
// program whose setting names a folder of 32-bit plug-ins still opens them with its own;
// otherwise the setting. Start-up never writes the fallback to the profile (it follows the
// program wherever it is moved); the settings dialog shows it and stores it on OK.
// Empty when there is neither. At most MaxWidePathLength units.
std::wstring PluginFolderInUse(const char* pluginExtension);

// The `plugins` folder beside the program ("<program folder>\plugins"); empty when it does
// not exist.
std::wstring BundledPluginFolder();
