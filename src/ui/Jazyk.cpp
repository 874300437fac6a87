#include "Jazyk.h"

#include "LanguageTexts.h"

#include <algorithm>

namespace zyrk {

namespace {

void Caption(QAction* action, const TextRow& row, int language) {
    action->setText(row.In(language));
}

template <typename W> void Caption(W* widget, const TextRow& row, int language) {
    widget->setText(row.In(language));
}

} // namespace

void ApplyLanguageTexts(QMainWindow* window, FormHlavUi& ui, int language) {
    // 1. Check marks of the language items.
    ui.MenuEnglish->setChecked(language == LangEnglish);
    ui.MenuGerman->setChecked(language == LangGerman);
    ui.MenuCzech->setChecked(language == LangCzech);

    // 2. Window caption.
    window->setWindowTitle(lang::WindowCaption.In(language));

    // 3. Captions.
    Caption(ui.LabelSpojeni, lang::LabelSpojeni, language);
    ui.MenuFile->setTitle(lang::MenuFile.In(language));
    Caption(ui.MenuNew, lang::MenuNew, language);
    Caption(ui.MenuOpen, lang::MenuOpen, language);
    Caption(ui.MenuOpenExeDir, lang::MenuOpenExeDir, language);
    Caption(ui.MenuSaveExeDir, lang::MenuSaveExeDir, language);
    Caption(ui.MenuSave, lang::MenuSave, language);
    Caption(ui.MenuPrint, lang::MenuPrint, language);
    Caption(ui.MenuExit, lang::MenuExit, language);
    ui.MenuCom->setTitle(lang::MenuCom.In(language));
    ui.MenuDevice->setTitle(lang::MenuDevice.In(language));
    Caption(ui.MenuRead, lang::MenuRead, language);
    Caption(ui.ButtonRead, lang::MenuRead, language);
    Caption(ui.MenuVerify, lang::MenuVerify, language);
    Caption(ui.ButtonVerify, lang::MenuVerify, language);
    Caption(ui.MenuProgram, lang::MenuProgram, language);
    Caption(ui.ButtonProgram, lang::MenuProgram, language);
    ui.MenuTools->setTitle(lang::MenuTools.In(language));
    ui.MenuLanguage->setTitle(lang::MenuLanguage.In(language));
    Caption(ui.MenuEnglish, lang::MenuEnglish, language);
    Caption(ui.MenuGerman, lang::MenuGerman, language);
    Caption(ui.MenuCzech, lang::MenuCzech, language);
    ui.MenuHelp->setTitle(lang::MenuHelp.In(language));
    Caption(ui.MenuContens, lang::MenuContens, language);
    Caption(ui.MenuAbout, lang::MenuAbout, language);
    ui.PageControl1->setTabText(kPageServo1, lang::TabSheet_Servo1.In(language));
    ui.PageControl1->setTabText(kPageServo2, lang::TabSheet_Servo2.In(language));
    Caption(ui.CheckBoxProgHned, lang::CheckBoxProgHned, language);
    Caption(ui.LabelFile1, lang::LabelFile1, language);
    Caption(ui.CheckBoxServoEnable, lang::CheckBoxServoEnable, language);
    ui.PageControl1->setTabText(kPageMisc, lang::TabSheet_Ruzne.In(language));
    Caption(ui.CheckBoxProcenta, lang::CheckBoxProcenta, language);
    Caption(ui.LabelHysterMv, lang::LabelHysterMv, language);
    Caption(ui.LabelHysterRpm, lang::LabelHysterRpm, language);
    Caption(ui.LabelHysterOff, lang::LabelHysterOff, language);
    ui.RadioGroupPocPulsu->setTitle(lang::RadioGroupPocPulsu.In(language));
    Caption(ui.MenuZpet, lang::MenuZpet, language);
    Caption(ui.MenuZnovu, lang::MenuZnovu, language);
    for (QLabel* label :
         {ui.LabelSpojeni, ui.LabelFile1, ui.LabelHysterMv, ui.LabelHysterRpm, ui.LabelHysterOff})
        label->adjustSize();

    // Hints: each replaces the whole hint.
    SetHint(ui.MenuLanguage->menuAction(), lang::HintMenuLanguage.In(language), false);
    SetHint(ui.LabelVerze1, lang::HintLabelVerze1.In(language), true);
    SetHint(ui.LabelVerze2, lang::HintLabelVerze2.In(language), true);
    SetHint(ui.LabelVerze3, lang::HintLabelVerze3.In(language), true);
    SetHint(ui.MenuOpen, lang::HintMenuOpen.In(language), false);
    SetHint(ui.MenuNew, lang::HintMenuNew.In(language), false);
    SetHint(ui.MenuSave, lang::HintMenuSave.In(language), false);
    SetHint(ui.SpeedButtonPrint, lang::HintPrint.In(language), true);
    SetHint(ui.MenuPrint, lang::HintPrint.In(language), false);
    SetHint(ui.ButtonProgram, lang::HintProgram.In(language), true);
    SetHint(ui.MenuProgram, lang::HintProgram.In(language), false);
    SetHint(ui.ButtonVerify, lang::HintVerify.In(language), true);
    SetHint(ui.MenuVerify, lang::HintVerify.In(language), false);
    SetHint(ui.ButtonRead, lang::HintRead.In(language), true);
    SetHint(ui.MenuRead, lang::HintRead.In(language), false);
    SetHint(ui.MenuExit, lang::HintMenuExit.In(language), false);
    SetHint(ui.CheckBoxProgHned, lang::HintCheckBoxProgHned.In(language), true);
    SetHint(ui.MenuCom->menuAction(), lang::HintMenuCom.In(language), false);

    // 4. Radio items; the selection stays.
    for (int i = 0; i < kPulsesItems; ++i)
        ui.PocPulsuItems[static_cast<size_t>(i)]->setText(lang::PulsesItem(i, language));
}

} // namespace zyrk
