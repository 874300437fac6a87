#include "TextRow.h"

namespace zyrk {

QString TextRow::In(int language) const {
    switch (language) {
    case LangEnglish:
        return QString::fromUtf8(en);
    case LangGerman:
        return QString::fromUtf8(de);
    default:
        return QString::fromUtf8(cz);
    }
}

} // namespace zyrk
