#include "extract/SelectionDestination.h"
#include "core/Utility.h"
#include "extract/ExtractionTexts.h"
#include "text/Cp932.h"
#include "text/PathSize.h"

bool SelectionDestination(const std::string& typed, const char* archivePath, std::string* destination,
                          ExtractionMessages& messages) {
    if (typed.empty()) {
        char folder[PathSize];
        CUtility().SplitPath(PathPart::DriveAndFolder, archivePath, folder, sizeof folder);
        *destination = folder;
        return true;
    }
    std::string folder = typed;
    if (!cp932::EndsWithSeparator(folder)) folder += '\\';
    if (folder.size() > PathSize - 1 || !CUtility().MakeFolders(folder.c_str())) {
        messages.ShowMessage(FolderFailedText);
        return false;
    }
    *destination = folder;
    return true;
}
