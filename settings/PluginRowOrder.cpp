#include "settings/PluginRowOrder.h"
#include "plugins/PluginTable.h"

int sortSign = 1;

int CALLBACK ComparePluginRows(LPARAM a, LPARAM b, LPARAM column) {
    const PluginSlot& left = *reinterpret_cast<const PluginSlot*>(a);
    const PluginSlot& right = *reinterpret_cast<const PluginSlot*>(b);
    switch (column) {
    case 0:
        return (left.isArchive - right.isArchive) * sortSign;
    case 1:
        return lstrcmpiW(left.fileName.c_str(), right.fileName.c_str()) * sortSign;
    case 2:
        return lstrcmpiA(left.extensions, right.extensions) * sortSign;
    case 3:
        return lstrcmpiA(left.infoText, right.infoText) * sortSign;
    default:
        return 0;
    }
}
