#include "extract/SelectionDestination.h"
#include "core/Utility.h"
#include "extract/ExtractionTexts.h"
#include "extract/OutputPath.h"
#include "text/WidePath.h"

bool SelectionDestination(const std::wstring& typed, const std::wstring& archivePath, std::wstring* destination,
                          ExtractionMessages& messages) {
    if (typed.empty()) {
        *destination = widepath::Folder(archivePath);
        return true;
    }
    std::wstring folder = widepath::WithSeparator(typed);
    if (folder.size() > LongestPath || !CUtility().MakeFolders(folder)) {
        messages.ShowMessage(FolderFailedText);
        return false;
    }
    *destination = folder;
    return true;
}
