#include "Jazyk.h"

#include "LanguageTexts.h"

#include <algorithm>

namespace zyrk {

namespace {

// Puts a caption on a control of whatever kind it is; tab pages carry theirs on the tab.
void SetCaption(QObject* target, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(target))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(target))
        menu->setTitle(text);
    else if (auto* box = qobject_cast<QGroupBox*>(target))
        box->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(target)) {
        label->setText(text);
        label->adjustSize();
    }
}

// Menus keep their hint on the action that stands for them in the menu bar.
QObject* HintTarget(QObject* target) {
    if (auto* menu = qobject_cast<QMenu*>(target))
        return menu->menuAction();
    return target;
}

} // namespace

void ApplyLanguageTexts(QMainWindow* window, FormHlavUi& ui, int language) {
    // 1. Check marks of the language items.
    ui.MenuEnglish->setChecked(language == LangEnglish);
    ui.MenuGerman->setChecked(language == LangGerman);
    ui.MenuCzech->setChecked(language == LangCzech);

    // 2. Window caption.
    window->setWindowTitle(lang::WindowCaption.In(language));

    // 3. Captions and hints, each control found by its name in the language tables.
    for (const lang::NamedRow& row : lang::CaptionRows()) {
        const QString name = QString::fromLatin1(row.control);
        const QString text = row.text->In(language);
        if (QWidget* page = ui.PageControl1->findChild<QWidget*>(name);
            page && ui.PageControl1->indexOf(page) >= 0)
            ui.PageControl1->setTabText(ui.PageControl1->indexOf(page), text);
        else if (QObject* target = window->findChild<QObject*>(name))
            SetCaption(target, text);
    }
    for (const lang::NamedRow& row : lang::HintRows()) {
        if (QObject* target = window->findChild<QObject*>(QString::fromLatin1(row.control)))
            SetHint(HintTarget(target), row.text->In(language), true);
    }
    // The designed width holds the Czech caption; a longer one widens the box instead of
    // being cut off.
    constexpr int kProgHnedWidth = 177;
    ui.CheckBoxProgHned->resize(std::max(kProgHnedWidth, ui.CheckBoxProgHned->sizeHint().width()),
                                ui.CheckBoxProgHned->height());

    // A hysteresis caption longer than the room before the "Off" field (German) breaks onto
    // a second line instead of running into the field; the line below has room for it.
    constexpr int kCaptionGap = 4;
    QLabel* hyster = ui.LabelHysterMv;
    const int room = ui.EditHysterOff->x() - kCaptionGap - hyster->x();
    hyster->setWordWrap(false);
    hyster->adjustSize();
    if (hyster->width() > room) {
        hyster->setWordWrap(true);
        hyster->setFixedWidth(room);
        hyster->adjustSize();
    } else {
        hyster->setMinimumWidth(0);
        hyster->setMaximumWidth(QWIDGETSIZE_MAX);
        hyster->adjustSize();
    }

    // 4. Radio items; the selection stays.
    for (int i = 0; i < kPulsesItems; ++i)
        ui.PocPulsuItems[static_cast<size_t>(i)]->setText(lang::PulsesItem(i, language));
}

} // namespace zyrk
