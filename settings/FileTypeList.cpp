#include "settings/FileTypeList.h"
#include "text/WideText.h"

void CFileTypeList::SetUp() {
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    InsertColumn(0, "", LVCFMT_LEFT);
}

void CFileTypeList::Fill(const std::vector<std::wstring>& types) {
    for (size_t row = 0; row < types_.size(); ++row) checked_[types_[row]] = Checked(static_cast<int>(row));
    DeleteAllItems();
    types_.clear();
    for (const std::wstring& type : types) {
        int row = InsertItem(static_cast<int>(types_.size()), WideToCp932Shown(type).c_str());
        if (row < 0) break;
        types_.push_back(type);
        auto shown = registered_.find(type);
        if (shown == registered_.end()) shown = registered_.emplace(type, IsRegisteredType(type)).first;
        auto earlier = checked_.find(type);
        SetChecked(row, earlier != checked_.end() ? earlier->second : shown->second);
    }
    FitColumnWidths();
}

void CFileTypeList::CheckAll(bool checked) { SetChecked(-1, checked); }

std::vector<FileTypeChange> CFileTypeList::Changes() const {
    std::vector<FileTypeChange> changes;
    for (size_t row = 0; row < types_.size(); ++row) {
        bool checked = Checked(static_cast<int>(row));
        if (checked != registered_.at(types_[row])) changes.push_back({types_[row], checked});
    }
    return changes;
}

bool CFileTypeList::Checked(int row) const {
    // The state image: 1 unchecked, 2 checked.
    return (GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2;
}

// Row -1: every row.
void CFileTypeList::SetChecked(int row, bool checked) {
    SetItemState(row, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}
