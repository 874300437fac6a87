#pragma once

#include "Controls.h"
#include "ParamImage.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <array>

namespace zyrk {

constexpr int kClientWidth = 978;
constexpr int kClientHeight = 815;
constexpr int kStatusBarHeight = 19;
constexpr int kPageMisc = 0;
constexpr int kPageServo1 = 1;
constexpr int kPageServo2 = 2;
constexpr int kComItems = 21;
constexpr int kPulsesItems = 13;

// Every control of the main window, by the names the rest of the tool uses. Built once by
// BuildFormLayout and BuildServoPages; owned by the window through Qt's parent chain.
struct FormHlavUi {
    QWidget* client = nullptr;

    // Toolbar
    QGroupBox* GroupBoxToolBar = nullptr;
    QToolButton* SpeedButtonNew = nullptr;
    QToolButton* SpeedButtonOpen = nullptr;
    QToolButton* SpeedButtonSave = nullptr;
    QToolButton* SpeedButtonPrint = nullptr;
    QToolButton* SpeedButtonZpet = nullptr;
    QToolButton* SpeedButtonZnovu = nullptr;
    QPushButton* ButtonRead = nullptr;
    QPushButton* ButtonVerify = nullptr;
    QPushButton* ButtonProgram = nullptr;
    QLabel* LabelSpojeni = nullptr;
    // Buttons of the tool's later windows (map windows, data log), kept apart from the
    // toolbar the window was designed with. Hidden until a button is added.
    QGroupBox* GroupBoxToolBar2 = nullptr;

    // Pages
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet_Ruzne = nullptr;
    QWidget* TabSheet_Servo1 = nullptr;
    QWidget* TabSheet_Servo2 = nullptr;

    // Miscellaneous page
    QGroupBox* GroupBoxSetTps = nullptr;
    QLabel* LabelTps0 = nullptr;
    QLabel* LabelTps100 = nullptr;
    QLineEdit* EditTps0 = nullptr;
    UpDown* UpDownTps0 = nullptr;
    QLineEdit* EditTps100 = nullptr;
    UpDown* UpDownTps100 = nullptr;
    QPushButton* ButtonTps0 = nullptr;
    QPushButton* ButtonTps100 = nullptr;
    QGroupBox* RadioGroupPocPulsu = nullptr;
    QButtonGroup* PocPulsuButtons = nullptr;
    std::array<QRadioButton*, kPulsesItems> PocPulsuItems{};
    QLabel* LabelVerze1 = nullptr;
    QLabel* LabelVerze2 = nullptr;
    QLabel* LabelVerze3 = nullptr;
    QLabel* LabelFile1 = nullptr;
    QLabel* LabelFile2 = nullptr;
    QLabel* LabelPocetProgramovani = nullptr;

    // Monitor area
    QLabel* LabelRpm = nullptr;
    Gauge* CGaugeRpm = nullptr;
    QLabel* LabelTpsMon = nullptr;
    Gauge* CGaugeTps = nullptr;
    QLabel* LabelNapeti = nullptr;
    QLabel* LabelHlaseni = nullptr;
    Gauge* CGaugeProgram = nullptr;
    std::array<QLabel*, 2> LabelServoPoz{};
    std::array<QLabel*, 2> LabelServoMer{};
    QCheckBox* CheckBoxProgHned = nullptr;
    QLabel* LabelCom = nullptr;
    QLabel* LabelEeDataErr = nullptr;
    QLabel* LabelVersion = nullptr;
    std::array<QLabel*, 8> LabelTest{};

    QStatusBar* StatusBar1 = nullptr;

    // Main menu
    QMenu* MenuFile = nullptr;
    QAction* MenuNew = nullptr;
    QAction* MenuOpen = nullptr;
    QAction* MenuOpenExeDir = nullptr;
    QAction* MenuSave = nullptr;
    QAction* MenuSaveExeDir = nullptr;
    QAction* MenuPrint = nullptr;
    QAction* MenuExit = nullptr;
    QMenu* MenuCom = nullptr;
    std::array<QAction*, kComItems> MenuComItems{};
    QMenu* MenuDevice = nullptr;
    QAction* MenuRead = nullptr;
    QAction* MenuVerify = nullptr;
    QAction* MenuProgram = nullptr;
    QMenu* MenuTools = nullptr;
    QAction* MenuToolsMinus = nullptr;
    QAction* MenuToolsPlus = nullptr;
    QAction* MenuZpet = nullptr;
    QAction* MenuZnovu = nullptr;
    QMenu* MenuLanguage = nullptr;
    QAction* MenuEnglish = nullptr;
    QAction* MenuCzech = nullptr;
    QAction* MenuGerman = nullptr;
    QMenu* MenuHelp = nullptr;
    QAction* MenuContens = nullptr;
    QAction* MenuAbout = nullptr;

    // Servo pages: one set of controls, moved to the servo page on show.
    QGroupBox* GroupBoxServo = nullptr;
    QLabel* LabelMapRpm = nullptr;
    QLabel* LabelMapTps = nullptr;
    std::array<QLabel*, kMapRows> LabelMapRow{};
    std::array<QLineEdit*, kMapColumns> EditMapRpm{};
    std::array<UpDown*, kMapColumns> UpDownMapRpm{};
    std::array<std::array<QLineEdit*, kMapColumns>, kMapRows> EditMap{};
    std::array<std::array<UpDown*, kMapColumns>, kMapRows> UpDownMap{};
    std::array<SpinButton*, kMapColumns> CSpinButtonMap{};
    QCheckBox* CheckBoxServoEnable = nullptr;
    QCheckBox* CheckBoxTpEnable = nullptr;
    QCheckBox* CheckBoxProcenta = nullptr;
    QLineEdit* EditHysterMv = nullptr;
    UpDown* UpDownHysterMv = nullptr;
    QLabel* LabelHysterMv = nullptr;
    QLineEdit* EditHysterRpm = nullptr;
    UpDown* UpDownHysterRpm = nullptr;
    QLabel* LabelHysterRpm = nullptr;
    QLineEdit* EditHysterOff = nullptr;
    UpDown* UpDownHysterOff = nullptr;
    QLabel* LabelHysterOff = nullptr;
    QPushButton* ButtonMinus = nullptr;
    QPushButton* ButtonPlus = nullptr;
    QCheckBox* CheckBoxAll = nullptr;
};

// The window as designed: size, fonts, colours, toolbar, pages, monitor area and menus.
void BuildFormLayout(QMainWindow* window, FormHlavUi& ui);

// The servo controls, built in code into GroupBoxServo, and the 21 Com menu items.
void BuildServoPages(FormHlavUi& ui);

// Gives the controls that the language tables name their object names, by which the
// tables find them.
void NameControls(FormHlavUi& ui);

// The file dialogs for parameter files, set up as the tool has always had them. They are
// made when a file command needs one: building them up front would double the start-up.
QFileDialog* MakeOpenDialog1(QWidget* parent);
QFileDialog* MakeSaveDialog1(QWidget* parent);

// Adds a flat picture button to GroupBoxToolBar2, after the buttons already there.
QToolButton* AddToolBar2Button(FormHlavUi& ui, const QIcon& icon, const QString& hint);

// The window's icon, 32 x 32, drawn in code.
QIcon WindowIcon();

// A square picture of px pixels drawn in code on a transparent ground, so the tool needs no
// image files for its own buttons.
template <typename Draw> QIcon DrawnIcon(int px, Draw draw) {
    QPixmap pm(px, px);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        draw(p);
    }
    return QIcon(pm);
}

// The name of the parameter file in LabelFile2: shortened in the middle to the room the label
// has, the full text as its tooltip.
void ShowFileCaption(FormHlavUi& ui, const QString& caption);

// A font of the window: the plain sans-serif face at a pixel height.
QFont WindowFont(int pixelSize, bool bold = false);

// Hints are "short|long": the tooltip shows the short part, the status bar the long one.
void SetHint(QObject* target, const QString& hint, bool tooltip);
QString HintOf(const QObject* target);
QString LongHint(const QString& hint);
QString ShortHint(const QString& hint);

// Background colours by name, applied only through the palette (cheap, no style sheets).
void SetBackground(QWidget* widget, const QColor& color);

} // namespace zyrk
