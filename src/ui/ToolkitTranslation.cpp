#include "ToolkitTranslation.h"

#include "Messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace zyrk {

ToolkitTranslation::~ToolkitTranslation() {
    if (translator_ && QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator_.get());
}

bool ToolkitTranslation::Use(int language) {
    if (language == language_)
        return translator_ != nullptr || language == LangEnglish;
    language_ = language;
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    if (language == LangEnglish)
        return true;
    const QLocale locale(language == LangGerman ? QLocale::German : QLocale::Czech);
    auto translator = std::make_unique<QTranslator>();
    // Beside the program first, as a Windows folder made by windeployqt has them, then where
    // the toolkit keeps them.
    const QString here = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), here) &&
        !translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
    return true;
}

} // namespace zyrk
