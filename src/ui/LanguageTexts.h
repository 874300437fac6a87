#pragma once

// The words the main window wears in Czech, English and German: captions, hints, the items of
// the pulses radio group and the About caption. Only data and a few look-ups live here; putting
// the texts on the widgets is the window's job.
//
// The texts are the ones our technicians have read for years, oddities included: the doubled
// blanks, "parametrs", "Programing", "Programmmierung", "serivého", the trailing blank of the
// Czech Com hint. Do not tidy them up; people find menu items and compare screenshots by them.
// The message-box and status texts are in the message table next to the link code.

#include "Messages.h"

#include <QString>
#include <span>

namespace zyrk::lang {

// ---- Window caption -------------------------------------------------------------------------

extern const TextRow WindowCaption;

// ---- Captions, named after the control that carries them -----------------------------------

extern const TextRow LabelSpojeni;
extern const TextRow MenuFile;
extern const TextRow MenuNew;
extern const TextRow MenuOpen;
extern const TextRow MenuOpenExeDir;
extern const TextRow MenuSaveExeDir;
extern const TextRow MenuSave;
extern const TextRow MenuPrint;
extern const TextRow MenuExit;
extern const TextRow MenuCom;
extern const TextRow MenuDevice;
extern const TextRow MenuRead;    // also ButtonRead
extern const TextRow MenuVerify;  // also ButtonVerify
extern const TextRow MenuProgram; // also ButtonProgram
extern const TextRow MenuTools;
extern const TextRow MenuLanguage;
extern const TextRow MenuEnglish;
extern const TextRow MenuGerman;
extern const TextRow MenuCzech;
extern const TextRow MenuHelp;
extern const TextRow MenuContens;
extern const TextRow MenuAbout;
extern const TextRow TabSheet_Servo1;
extern const TextRow TabSheet_Servo2;
extern const TextRow CheckBoxProgHned;
extern const TextRow LabelFile1;
extern const TextRow CheckBoxServoEnable;
extern const TextRow TabSheet_Ruzne;
extern const TextRow CheckBoxProcenta;
extern const TextRow LabelHysterMv;
extern const TextRow LabelHysterRpm;
extern const TextRow LabelHysterOff;
extern const TextRow RadioGroupPocPulsu;
extern const TextRow MenuZpet;
extern const TextRow MenuZnovu;

// ---- Hints that follow the language ---------------------------------------------------------
// Only the English language hint keeps a "short|long" form; the others are one text, so the
// tooltip and the status bar show the same words.

extern const TextRow HintMenuLanguage;
extern const TextRow HintLabelVerze1;
extern const TextRow HintLabelVerze2;
extern const TextRow HintLabelVerze3;
extern const TextRow HintMenuOpen;
extern const TextRow HintMenuNew;
extern const TextRow HintMenuSave;
extern const TextRow HintPrint;   // SpeedButtonPrint and MenuPrint
extern const TextRow HintProgram; // ButtonProgram and MenuProgram
extern const TextRow HintVerify;  // ButtonVerify and MenuVerify
extern const TextRow HintRead;    // ButtonRead and MenuRead
extern const TextRow HintMenuExit;
extern const TextRow HintCheckBoxProgHned;
extern const TextRow HintMenuCom;

// ---- Hints the window is built with ---------------------------------------------------------
// The first three and the last three are never replaced by a language; the rest are what a
// control shows until the first language switch at start-up overwrites them.

extern const char* const kDesignHintSpeedButtonNew;
extern const char* const kDesignHintSpeedButtonOpen;
extern const char* const kDesignHintSpeedButtonSave;
extern const char* const kDesignHintSpeedButtonPrint;
extern const char* const kDesignHintButtonRead;
extern const char* const kDesignHintButtonVerify;
extern const char* const kDesignHintButtonProgram;
extern const char* const kDesignHintMenuNew;
extern const char* const kDesignHintMenuOpen;
extern const char* const kDesignHintMenuSave;
extern const char* const kDesignHintMenuPrint;
extern const char* const kDesignHintMenuExit;
extern const char* const kDesignHintMenuCom;
extern const char* const kDesignHintMenuRead;
extern const char* const kDesignHintMenuVerify;
extern const char* const kDesignHintMenuProgram;
extern const char* const kDesignHintMenuLanguage;
extern const char* const kDesignHintMenuEnglish;
extern const char* const kDesignHintMenuCzech;
extern const char* const kDesignHintMenuHelp;

// ---- Tables by control name -----------------------------------------------------------------
// One entry per control, so a control that shares a text with another (ButtonRead with
// MenuRead, SpeedButtonPrint with MenuPrint) has its own line and cannot be forgotten when the
// language changes. The window caption is not in the caption table: it belongs to no control.

struct NamedRow {
    const char* control; // the control's object name
    const TextRow* text;
};

std::span<const NamedRow> CaptionRows();
std::span<const NamedRow> HintRows();

// The caption or hint row of a control, or null when the language does not change it.
const TextRow* FindCaption(const QString& control);
const TextRow* FindHint(const QString& control);

// ---- Pulses per revolution radio group ------------------------------------------------------

// Item i is pulses-per-revolution code i of the parameter image.
constexpr int kPulsesItemCount = 13;

// Text of item 0..12 in the given language; an empty text for any other item.
QString PulsesItem(int item, int language);

// ---- About window ---------------------------------------------------------------------------

// The About caption for the language, or `current` unchanged for a language it has no text for.
QString AboutCaption(int language, const QString& current);

// ---- Choosing the language ------------------------------------------------------------------

// The language a command-line word asks for ("ENGLISH", "CESKY", "DEUTSCH", exact case), or
// `current` for any other word.
int LanguageFromWord(const QString& word, int current);

// The language to use for a value read back from the settings: 0..2 as stored, anything else
// Czech.
int SanitizeLanguage(int stored);

} // namespace zyrk::lang
