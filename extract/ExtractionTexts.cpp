#include "extract/ExtractionTexts.h"
#include <cstdio>

std::string UnshownEntriesText(size_t count) {
    char text[160];
    snprintf(text, sizeof text, "名前が長すぎて取り出せないエントリが %lu 個あります。", static_cast<unsigned long>(count));
    return text;
}
