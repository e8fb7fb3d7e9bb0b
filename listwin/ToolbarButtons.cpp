#include "listwin/ToolbarButtons.h"
#include <algorithm>

const ToolbarButton ToolbarButtons[6] = {
    {1012, 148, "全てのファイルを解凍します。"},
    {1013, 131, "選択されているファイルを解凍します。"},
    {1014, 149, "選択されているファイルを開きます。"},
    {1015, 150, "全選択/選択解除を行います。"},
    {1017, 152, "バージョン情報を表示します。"},
    {1016, 151, "終了します。"},
};

COLORREF LightenedColor(COLORREF base) {
    auto lighten = [](BYTE part) { return static_cast<BYTE>(std::min(255, part + 20)); };
    return RGB(lighten(GetRValue(base)), lighten(GetGValue(base)), lighten(GetBValue(base)));
}
