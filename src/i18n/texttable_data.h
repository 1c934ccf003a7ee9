#pragma once

namespace i18n {

struct TextEntry {
    int id;
    const char* text;  // UTF-8
};

extern const TextEntry kTextTable[];
extern const int kTextTableSize;

}  // namespace i18n
