#pragma once
#include <map>
#include <string>
#include <vector>
#include "core/FileAssociations.h"
#include "framework/ListCtrl.h"

// The settings dialog's list of the file types its plug-ins read, one check box each: checked,
// the type is to be registered for the program. A report view without headings, one row per
// type in the order given.
class CFileTypeList : public CListCtrl {
public:
    // Gives the subclassed control its check boxes and its one column; before the first Fill.
    void SetUp();
    // Shows these types. A type shown before keeps the check the user gave it, so that a
    // refill (the plug-in folder being typed) loses no choice; any other shows whether it is
    // registered now.
    void Fill(const std::vector<std::wstring>& types);
    void CheckAll(bool checked);
    // The rows whose check differs from what the type showed first: what OK is to change.
    std::vector<FileTypeChange> Changes() const;

private:
    bool Checked(int row) const;
    void SetChecked(int row, bool checked);

    std::vector<std::wstring> types_;          // row i shows types_[i]
    std::map<std::wstring, bool> registered_;  // whether each type shown so far was registered then
    std::map<std::wstring, bool> checked_;     // each one's check when its rows were last dropped
};
