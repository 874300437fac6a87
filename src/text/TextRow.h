#pragma once

#include <QString>
#include <cstdint>

namespace zyrk {

// Languages in the order the settings and the menu use.
enum Language : uint8_t { LangCzech = 0, LangEnglish = 1, LangGerman = 2 };
constexpr int kLanguageCount = 3;

// A translated text: the Czech, English and German forms, UTF-8 in the source.
struct TextRow {
    const char* cz;
    const char* en;
    const char* de;
    QString In(int language) const;
};

} // namespace zyrk
