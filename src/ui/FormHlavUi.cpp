#include "FormHlavUi.h"

#include "LanguageTexts.h"

#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

namespace zyrk {

namespace {

constexpr int kSmallFontPx = 11;
constexpr int kBigBoldPx = 23;
constexpr int kMonitorPx = 16;
constexpr int kVoltagePx = 19;
constexpr int kStatusPx = 13;
constexpr int kPicturePx = 16;
constexpr char kHintProperty[] = "zyrkHint";

QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& text, int fontPx = 0,
                  bool bold = false) {
    auto* label = new QLabel(text, parent);
    if (fontPx > 0)
        label->setFont(WindowFont(fontPx, bold));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, int left, int top, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(left, top, width, 21);
    return edit;
}

UpDown* MakeUpDown(QWidget* parent, QLineEdit* edit, int min, int max, int step) {
    auto* upDown = new UpDown(parent);
    upDown->setGeometry(edit->x() + edit->width(), edit->y(), UpDown::kWidthPx, UpDown::kHeightPx);
    upDown->SetAssociate(edit);
    upDown->SetRange(min, max);
    upDown->SetIncrement(step);
    return upDown;
}

// Toolbar pictures of our own, 16 x 16, drawn once; the disabled variant is greyed.
enum class Picture { New, Open, Save, Print, Undo, Redo };

QPixmap DrawPicture(Picture kind, bool disabled) {
    QPixmap pm(kPicturePx, kPicturePx);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ink = disabled ? QColor(160, 160, 160) : QColor(0, 0, 0);
    const QColor fill = disabled ? QColor(220, 220, 220) : QColor(255, 255, 255);
    const QColor accent = disabled ? QColor(190, 190, 190) : QColor(0, 0, 170);
    p.setPen(QPen(ink, 1));
    switch (kind) {
    case Picture::New: {
        const QPointF sheet[] = {{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}};
        p.setBrush(fill);
        p.drawPolygon(sheet, 5);
        p.drawLine(QPointF(10.5, 1.5), QPointF(10.5, 4.5));
        p.drawLine(QPointF(10.5, 4.5), QPointF(13.5, 4.5));
        break;
    }
    case Picture::Open:
        p.setBrush(disabled ? fill : QColor(240, 200, 80));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.drawRect(QRectF(1.5, 3.5, 5, 2));
        p.setPen(QPen(accent, 1.5));
        p.drawLine(QPointF(9, 1.5), QPointF(14, 1.5));
        p.drawLine(QPointF(14, 1.5), QPointF(14, 5));
        break;
    case Picture::Save:
        p.setBrush(accent);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(fill);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
    case Picture::Print:
        p.setBrush(fill);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(disabled ? fill : QColor(192, 192, 192));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(fill);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case Picture::Undo:
    case Picture::Redo: {
        p.setPen(QPen(accent, 2));
        p.setBrush(Qt::NoBrush);
        const bool undo = kind == Picture::Undo;
        p.drawArc(QRectF(3, 4, 10, 9), undo ? 0 : 180 * 16, undo ? 180 * 16 : -180 * 16);
        p.setBrush(accent);
        p.setPen(Qt::NoPen);
        const QPointF head[] = {undo ? QPointF(0.5, 9) : QPointF(15.5, 9),
                                undo ? QPointF(6.5, 9) : QPointF(9.5, 9),
                                undo ? QPointF(3.5, 13.5) : QPointF(12.5, 13.5)};
        p.drawPolygon(head, 3);
        break;
    }
    }
    return pm;
}

QToolButton* MakeSpeedButton(QWidget* parent, QRect geometry, Picture picture) {
    auto* button = new QToolButton(parent);
    button->setGeometry(geometry);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    QIcon icon;
    icon.addPixmap(DrawPicture(picture, false), QIcon::Normal);
    icon.addPixmap(DrawPicture(picture, true), QIcon::Disabled);
    button->setIcon(icon);
    button->setIconSize(QSize(kPicturePx, kPicturePx));
    return button;
}

QPushButton* MakeButton(QWidget* parent, QRect geometry, const QString& caption, bool tabStop) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    if (!tabStop)
        button->setFocusPolicy(Qt::ClickFocus);
    return button;
}

QAction* MakeAction(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

constexpr int kToolBar2Left = 830;
constexpr int kToolBar2Width = 144;
constexpr int kToolBar2Pitch = 30;

void BuildToolbar(FormHlavUi& ui) {
    ui.GroupBoxToolBar = new QGroupBox(ui.client);
    ui.GroupBoxToolBar->setGeometry(3, 0, 462, 43);
    QWidget* bar = ui.GroupBoxToolBar;
    ui.SpeedButtonNew = MakeSpeedButton(bar, {12, 12, 24, 23}, Picture::New);
    ui.SpeedButtonOpen = MakeSpeedButton(bar, {48, 12, 24, 23}, Picture::Open);
    ui.SpeedButtonSave = MakeSpeedButton(bar, {84, 12, 24, 23}, Picture::Save);
    ui.SpeedButtonPrint = MakeSpeedButton(bar, {120, 12, 24, 23}, Picture::Print);
    ui.SpeedButtonZpet = MakeSpeedButton(bar, {156, 13, 23, 22}, Picture::Undo);
    ui.SpeedButtonZnovu = MakeSpeedButton(bar, {192, 13, 23, 22}, Picture::Redo);
    // Tab skips the three push buttons.
    ui.ButtonRead = MakeButton(bar, {230, 12, 57, 23}, QStringLiteral("&Read"), false);
    ui.ButtonVerify = MakeButton(bar, {296, 12, 65, 23}, QStringLiteral("Verify"), false);
    ui.ButtonProgram = MakeButton(bar, {370, 12, 81, 23}, QStringLiteral("Program"), false);
    SetHint(ui.SpeedButtonNew, QString::fromUtf8(lang::kDesignHintSpeedButtonNew), true);
    SetHint(ui.SpeedButtonOpen, QString::fromUtf8(lang::kDesignHintSpeedButtonOpen), true);
    SetHint(ui.SpeedButtonSave, QString::fromUtf8(lang::kDesignHintSpeedButtonSave), true);
    SetHint(ui.SpeedButtonPrint, QString::fromUtf8(lang::kDesignHintSpeedButtonPrint), true);
    SetHint(ui.ButtonRead, QString::fromUtf8(lang::kDesignHintButtonRead), true);
    SetHint(ui.ButtonVerify, QString::fromUtf8(lang::kDesignHintButtonVerify), true);
    SetHint(ui.ButtonProgram, QString::fromUtf8(lang::kDesignHintButtonProgram), true);

    // Right of the connection label, which grows to about 340 px in German.
    ui.GroupBoxToolBar2 = new QGroupBox(ui.client);
    ui.GroupBoxToolBar2->setGeometry(kToolBar2Left, 0, kToolBar2Width, 43);
    ui.GroupBoxToolBar2->hide();

    ui.LabelSpojeni = new QLabel(QStringLiteral("No Connection"), ui.client);
    ui.LabelSpojeni->setFont(WindowFont(kBigBoldPx, true));
    ui.LabelSpojeni->setGeometry(472, 9, 174, 29);
    ui.LabelSpojeni->adjustSize(); // like every label, it takes the size of its text
    SetBackground(ui.LabelSpojeni, Qt::red);
}

void BuildMiscPage(FormHlavUi& ui) {
    QWidget* page = ui.TabSheet_Ruzne;
    ui.GroupBoxSetTps = new QGroupBox(QStringLiteral("TPS"), page);
    ui.GroupBoxSetTps->setGeometry(8, 4, 284, 107);
    QWidget* box = ui.GroupBoxSetTps;
    ui.LabelTps0 = MakeLabel(box, 33, 30, QStringLiteral("0%  [mV]"));
    ui.LabelTps100 = MakeLabel(box, 21, 69, QStringLiteral("100%  [mv]"));
    ui.EditTps0 = MakeEdit(box, 96, 26, 40);
    ui.UpDownTps0 = MakeUpDown(box, ui.EditTps0, 100, 2500, 10);
    ui.UpDownTps0->SetPosition(200);
    ui.EditTps100 = MakeEdit(box, 96, 66, 40);
    ui.UpDownTps100 = MakeUpDown(box, ui.EditTps100, 2500, 4900, 10);
    ui.UpDownTps100->SetPosition(2600);
    ui.ButtonTps0 = MakeButton(box, {192, 24, 75, 25}, QStringLiteral("TPS 0 %"), false);
    ui.ButtonTps100 = MakeButton(box, {192, 64, 75, 25}, QStringLiteral("TPS 100 %"), false);

    ui.RadioGroupPocPulsu = new QGroupBox(page);
    ui.RadioGroupPocPulsu->setGeometry(326, 7, 235, 386);
    ui.PocPulsuButtons = new QButtonGroup(ui.RadioGroupPocPulsu);
    constexpr int kItemTop = 18;
    const int itemHeight = (386 - kItemTop - 8) / kPulsesItems;
    for (int i = 0; i < kPulsesItems; ++i) {
        auto* item = new QRadioButton(ui.RadioGroupPocPulsu);
        item->setGeometry(8, kItemTop + i * itemHeight, 220, itemHeight);
        ui.PocPulsuButtons->addButton(item, i);
        ui.PocPulsuItems[static_cast<size_t>(i)] = item;
    }
    ui.PocPulsuItems[0]->setChecked(true);

    ui.LabelVerze2 = MakeLabel(page, 16, 347, QStringLiteral("25.02.2002"));
    ui.LabelVerze3 = MakeLabel(page, 82, 347, QStringLiteral("16:21"));
    ui.LabelVerze1 = MakeLabel(page, 130, 347, QStringLiteral("-----"));
    ui.LabelFile1 = MakeLabel(page, 16, 379, QStringLiteral("File:"));
    ui.LabelFile2 = MakeLabel(page, 64, 379, QStringLiteral("----------"));
    ui.LabelPocetProgramovani =
        MakeLabel(page, 722, 387, QStringLiteral("Number of Programing: -----"));
}

void BuildMonitorArea(FormHlavUi& ui) {
    QWidget* c = ui.client;
    ui.LabelRpm = MakeLabel(c, 12, 523, QStringLiteral("RPM = ---"), kBigBoldPx, true);
    ui.CGaugeRpm = new Gauge(c);
    ui.CGaugeRpm->setGeometry(13, 552, 240, 18);
    ui.CGaugeRpm->SetBarColor(Qt::magenta);
    ui.CGaugeRpm->SetShowText(false);
    ui.LabelTpsMon = MakeLabel(c, 12, 582, QStringLiteral("TP= --- [%]"), kBigBoldPx, true);
    ui.CGaugeTps = new Gauge(c);
    ui.CGaugeTps->setGeometry(13, 612, 240, 18);
    ui.CGaugeTps->SetBarColor(QColor(0, 128, 128)); // the classic desktop background
    ui.CGaugeTps->SetShowText(false);
    ui.LabelNapeti = MakeLabel(c, 292, 553, QStringLiteral("U = ---[V]"), kVoltagePx);
    ui.LabelHlaseni = MakeLabel(c, 300, 612, QStringLiteral("Programming:"), kStatusPx, true);
    QPalette black = ui.LabelHlaseni->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    ui.LabelHlaseni->setPalette(black);
    ui.LabelHlaseni->setAutoFillBackground(true);
    ui.LabelHlaseni->hide();
    ui.CGaugeProgram = new Gauge(c);
    ui.CGaugeProgram->setGeometry(456, 612, 203, 18);
    ui.CGaugeProgram->SetBarColor(Qt::cyan);
    ui.CGaugeProgram->SetShowText(true);
    ui.CGaugeProgram->SetMaximum(7);
    ui.CGaugeProgram->hide();
    for (int s = 0; s < 2; ++s) {
        const int left = s == 0 ? 466 : 706;
        ui.LabelServoPoz[static_cast<size_t>(s)] = MakeLabel(
            c, left, 542, QStringLiteral("Servo %1 Required= ---").arg(s + 1), kMonitorPx);
        ui.LabelServoMer[static_cast<size_t>(s)] = MakeLabel(
            c, left, 569, QStringLiteral("Servo %1 Measured= ---").arg(s + 1), kMonitorPx);
        ui.LabelServoPoz[static_cast<size_t>(s)]->setAutoFillBackground(true);
        ui.LabelServoMer[static_cast<size_t>(s)]->setAutoFillBackground(true);
    }
    ui.CheckBoxProgHned = new QCheckBox(QStringLiteral("Program. po změně"), c);
    ui.CheckBoxProgHned->setGeometry(706, 600, 177, 16);
    ui.CheckBoxProgHned->setAutoFillBackground(true);
    ui.LabelCom = MakeLabel(c, 706, 622, QStringLiteral("COM = --"), kMonitorPx);
    ui.LabelEeDataErr =
        MakeLabel(c, 13, 640, QStringLiteral("Programmed data error"), kVoltagePx, true);
    SetBackground(ui.LabelEeDataErr, Qt::red);
    ui.LabelEeDataErr->hide();
    ui.LabelVersion = MakeLabel(c, 13, 672, QStringLiteral("LabelVersion"), kVoltagePx, true);
    SetBackground(ui.LabelVersion, Qt::red);
    ui.LabelVersion->hide();
    constexpr int kTestLefts[8] = {24, 138, 252, 366, 481, 595, 709, 824};
    for (int i = 0; i < 8; ++i) {
        ui.LabelTest[static_cast<size_t>(i)] =
            MakeLabel(c, kTestLefts[i], 752, QStringLiteral("Test%1 = ---").arg(i + 1), kMonitorPx);
        ui.LabelTest[static_cast<size_t>(i)]->hide();
    }
    ui.LabelTpsMon->setAutoFillBackground(true);
    ui.LabelNapeti->setAutoFillBackground(true);
}

void BuildMenus(QMainWindow* window, FormHlavUi& ui) {
    QMenuBar* bar = window->menuBar();
    ui.MenuFile = bar->addMenu(QStringLiteral("&File"));
    ui.MenuNew =
        MakeAction(ui.MenuFile, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    ui.MenuFile->addSeparator(); // N3
    ui.MenuOpen = MakeAction(ui.MenuFile, QStringLiteral("&Open"), QKeySequence(Qt::Key_F3));
    ui.MenuOpenExeDir = MakeAction(ui.MenuFile, QStringLiteral("Open from exe dir"));
    ui.MenuFile->addSeparator(); // N1
    ui.MenuSave = MakeAction(ui.MenuFile, QStringLiteral("&Save"), QKeySequence(Qt::Key_F2));
    ui.MenuSaveExeDir = MakeAction(ui.MenuFile, QStringLiteral("Save to exe dir"));
    ui.MenuFile->addSeparator(); // N2
    ui.MenuPrint =
        MakeAction(ui.MenuFile, QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    ui.MenuFile->addSeparator(); // N4
    ui.MenuExit = MakeAction(ui.MenuFile, QStringLiteral("E&xit"));

    ui.MenuCom = bar->addMenu(QStringLiteral("&Com"));

    ui.MenuDevice = bar->addMenu(QStringLiteral("&Device"));
    ui.MenuRead = MakeAction(ui.MenuDevice, QStringLiteral("&Read"), QKeySequence(Qt::Key_F7));
    ui.MenuVerify = MakeAction(ui.MenuDevice, QStringLiteral("&Verify"), QKeySequence(Qt::Key_F8));
    ui.MenuProgram =
        MakeAction(ui.MenuDevice, QStringLiteral("&Program"), QKeySequence(Qt::Key_F9));

    ui.MenuTools = bar->addMenu(QStringLiteral("Tools"));
    ui.MenuToolsMinus =
        MakeAction(ui.MenuTools, QStringLiteral("Minus "), QKeySequence(Qt::Key_F4));
    ui.MenuToolsPlus = MakeAction(ui.MenuTools, QStringLiteral("Plus"), QKeySequence(Qt::Key_F5));
    ui.MenuZpet =
        MakeAction(ui.MenuTools, QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    ui.MenuZnovu = MakeAction(ui.MenuTools, QStringLiteral("Redo"),
                              QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));

    ui.MenuLanguage = bar->addMenu(QStringLiteral("&Language"));
    ui.MenuEnglish = MakeAction(ui.MenuLanguage, QStringLiteral("&English"));
    ui.MenuCzech = MakeAction(ui.MenuLanguage, QStringLiteral("&Czech"));
    ui.MenuGerman = MakeAction(ui.MenuLanguage, QStringLiteral("&German"));
    for (QAction* a : {ui.MenuEnglish, ui.MenuCzech, ui.MenuGerman})
        a->setCheckable(true);

    ui.MenuHelp = bar->addMenu(QStringLiteral("&Help"));
    ui.MenuContens = MakeAction(ui.MenuHelp, QStringLiteral("&Contens"), QKeySequence(Qt::Key_F1));
    ui.MenuAbout = MakeAction(ui.MenuHelp, QStringLiteral("&About..."));

    SetHint(ui.MenuNew, QString::fromUtf8(lang::kDesignHintMenuNew), false);
    SetHint(ui.MenuOpen, QString::fromUtf8(lang::kDesignHintMenuOpen), false);
    SetHint(ui.MenuSave, QString::fromUtf8(lang::kDesignHintMenuSave), false);
    SetHint(ui.MenuPrint, QString::fromUtf8(lang::kDesignHintMenuPrint), false);
    SetHint(ui.MenuExit, QString::fromUtf8(lang::kDesignHintMenuExit), false);
    SetHint(ui.MenuCom->menuAction(), QString::fromUtf8(lang::kDesignHintMenuCom), false);
    SetHint(ui.MenuRead, QString::fromUtf8(lang::kDesignHintMenuRead), false);
    SetHint(ui.MenuVerify, QString::fromUtf8(lang::kDesignHintMenuVerify), false);
    SetHint(ui.MenuProgram, QString::fromUtf8(lang::kDesignHintMenuProgram), false);
    SetHint(ui.MenuLanguage->menuAction(), QString::fromUtf8(lang::kDesignHintMenuLanguage), false);
    SetHint(ui.MenuEnglish, QString::fromUtf8(lang::kDesignHintMenuEnglish), false);
    SetHint(ui.MenuCzech, QString::fromUtf8(lang::kDesignHintMenuCzech), false);
    SetHint(ui.MenuHelp->menuAction(), QString::fromUtf8(lang::kDesignHintMenuHelp), false);
}

} // namespace

QFont WindowFont(int pixelSize, bool bold) {
    // The face the layout was drawn with, else one of the same metrics, else any sans serif.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void SetHint(QObject* target, const QString& hint, bool tooltip) {
    target->setProperty(kHintProperty, hint);
    if (!tooltip)
        return;
    if (auto* w = qobject_cast<QWidget*>(target))
        w->setToolTip(ShortHint(hint));
}

QString HintOf(const QObject* target) {
    return target->property(kHintProperty).toString();
}

QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString ShortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

void SetBackground(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::Base, color);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void BuildFormLayout(QMainWindow* window, FormHlavUi& ui) {
    window->setFont(WindowFont(kSmallFontPx));
    window->setWindowIcon(WindowIcon());
    ui.client = new QWidget(window);
    ui.client->setFixedSize(kClientWidth, kClientHeight);
    window->setCentralWidget(ui.client);

    BuildToolbar(ui);

    ui.PageControl1 = new QTabWidget(ui.client);
    ui.PageControl1->setGeometry(4, 45, 959, 476);
    ui.PageControl1->setFocusPolicy(Qt::NoFocus);
    ui.TabSheet_Ruzne = new QWidget;
    ui.TabSheet_Servo1 = new QWidget;
    ui.TabSheet_Servo2 = new QWidget;
    ui.PageControl1->addTab(ui.TabSheet_Ruzne, QStringLiteral("Různé 1"));
    ui.PageControl1->addTab(ui.TabSheet_Servo1, QStringLiteral("Servo1"));
    ui.PageControl1->addTab(ui.TabSheet_Servo2, QStringLiteral("Servo2"));
    for (QWidget* page : {ui.TabSheet_Servo1, ui.TabSheet_Servo2}) {
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    BuildMiscPage(ui);
    BuildMonitorArea(ui);

    ui.StatusBar1 = new QStatusBar(ui.client);
    ui.StatusBar1->setSizeGripEnabled(false);
    ui.StatusBar1->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);

    BuildMenus(window, ui);
}

void NameControls(FormHlavUi& ui) {
#define ZYRK_NAME(control) ui.control->setObjectName(QStringLiteral(#control))
    ZYRK_NAME(LabelSpojeni);
    ZYRK_NAME(MenuFile);
    ZYRK_NAME(MenuNew);
    ZYRK_NAME(MenuOpen);
    ZYRK_NAME(MenuOpenExeDir);
    ZYRK_NAME(MenuSaveExeDir);
    ZYRK_NAME(MenuSave);
    ZYRK_NAME(MenuPrint);
    ZYRK_NAME(MenuExit);
    ZYRK_NAME(MenuCom);
    ZYRK_NAME(MenuDevice);
    ZYRK_NAME(MenuRead);
    ZYRK_NAME(ButtonRead);
    ZYRK_NAME(MenuVerify);
    ZYRK_NAME(ButtonVerify);
    ZYRK_NAME(MenuProgram);
    ZYRK_NAME(ButtonProgram);
    ZYRK_NAME(MenuTools);
    ZYRK_NAME(MenuLanguage);
    ZYRK_NAME(MenuEnglish);
    ZYRK_NAME(MenuGerman);
    ZYRK_NAME(MenuCzech);
    ZYRK_NAME(MenuHelp);
    ZYRK_NAME(MenuContens);
    ZYRK_NAME(MenuAbout);
    ZYRK_NAME(TabSheet_Ruzne);
    ZYRK_NAME(TabSheet_Servo1);
    ZYRK_NAME(TabSheet_Servo2);
    ZYRK_NAME(CheckBoxProgHned);
    ZYRK_NAME(LabelFile1);
    ZYRK_NAME(CheckBoxServoEnable);
    ZYRK_NAME(CheckBoxProcenta);
    ZYRK_NAME(LabelHysterMv);
    ZYRK_NAME(LabelHysterRpm);
    ZYRK_NAME(LabelHysterOff);
    ZYRK_NAME(RadioGroupPocPulsu);
    ZYRK_NAME(MenuZpet);
    ZYRK_NAME(MenuZnovu);
    ZYRK_NAME(LabelVerze1);
    ZYRK_NAME(LabelVerze2);
    ZYRK_NAME(LabelVerze3);
    ZYRK_NAME(SpeedButtonPrint);
#undef ZYRK_NAME
}

QFileDialog* MakeOpenDialog1(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // It does not insist that the file exists: a missing one is reported by the Open command
    // with the tool's own "Open file error!".
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("ign"));
    dialog->setNameFilters(
        {QStringLiteral("Ignition Parametrs(*.ign)"), QStringLiteral("All Files (*.*)")});
    dialog->selectFile(QStringLiteral(" "));
    return dialog;
}

QFileDialog* MakeSaveDialog1(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("ign"));
    dialog->setNameFilters({QStringLiteral("Ignition Parametrs(*.ign)")});
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false); // asks before overwriting
    dialog->setOption(QFileDialog::ReadOnly, false);
    dialog->setSizeGripEnabled(true);
    return dialog;
}

void BuildServoPages(FormHlavUi& ui) {
    // 1. The container starts on the servo 2 page unless servo 1's page is on show.
    QWidget* page =
        ui.PageControl1->currentIndex() == kPageServo1 ? ui.TabSheet_Servo1 : ui.TabSheet_Servo2;
    ui.GroupBoxServo = new QGroupBox;
    page->layout()->addWidget(ui.GroupBoxServo);
    QWidget* box = ui.GroupBoxServo;

    // 2, 3. Labels.
    ui.LabelMapRpm = MakeLabel(box, 13, 16, QStringLiteral("RPM"));
    ui.LabelMapTps = MakeLabel(box, 7, 37, QStringLiteral("TPS"));
    static const char* const kRowCaptions[kMapRows] = {"0%",  "2%",  "5%",  "10%", "20%",
                                                       "30%", "40%", "60%", "80%", "100%"};
    for (int i = 0; i < kMapRows; ++i) {
        const int left = i <= 2 ? 16 : (i <= 8 ? 10 : 4);
        ui.LabelMapRow[static_cast<size_t>(i)] =
            MakeLabel(box, left, 30 * i + 56, QString::fromLatin1(kRowCaptions[i]));
        ui.LabelMapRow[static_cast<size_t>(i)]->setAutoFillBackground(true);
    }

    // 4. The engine-speed axis.
    for (int j = 0; j < kMapColumns; ++j) {
        QLineEdit* edit = MakeEdit(box, 60 * j + 44, 21, 40);
        ui.EditMapRpm[static_cast<size_t>(j)] = edit;
        ui.UpDownMapRpm[static_cast<size_t>(j)] = MakeUpDown(box, edit, 0, 25000, 100);
    }
    // 5. The map.
    for (int i = 0; i < kMapRows; ++i) {
        for (int j = 0; j < kMapColumns; ++j) {
            QLineEdit* edit = MakeEdit(box, 60 * j + 44, 30 * i + 53, 40);
            ui.EditMap[static_cast<size_t>(i)][static_cast<size_t>(j)] = edit;
            ui.UpDownMap[static_cast<size_t>(i)][static_cast<size_t>(j)] =
                MakeUpDown(box, edit, 0, 5000, 20);
        }
    }
    // 6. Column spin buttons.
    for (int j = 0; j < kMapColumns; ++j) {
        auto* spin = new SpinButton(box);
        spin->setGeometry(60 * j + 59, 350, 17, 23);
        ui.CSpinButtonMap[static_cast<size_t>(j)] = spin;
    }

    // 7. The bottom block, placed by its relative rules.
    constexpr int kEnableLeft = 60, kEnableTop = 390;
    auto makeCheck = [box](const QString& caption, int left, int top) {
        auto* check = new QCheckBox(caption, box);
        check->setGeometry(left, top, 97, 17);
        check->setFocusPolicy(Qt::ClickFocus);
        return check;
    };
    ui.CheckBoxServoEnable = makeCheck(QStringLiteral("Servo Enable"), kEnableLeft, kEnableTop);
    const int tpLeft = kEnableLeft + 120;
    ui.CheckBoxTpEnable = makeCheck(QStringLiteral("TP Enable"), tpLeft, kEnableTop);
    ui.CheckBoxProcenta = makeCheck(QStringLiteral("Procenta"), tpLeft, kEnableTop + 25);
    const int hystLeft = tpLeft + 120, hystTop = kEnableTop - 2;
    ui.EditHysterMv = MakeEdit(box, hystLeft, hystTop, 40);
    ui.UpDownHysterMv = MakeUpDown(box, ui.EditHysterMv, 0, 1250, 5);
    ui.LabelHysterMv = MakeLabel(box, hystLeft + 70, kEnableTop + 1, QString());
    ui.EditHysterRpm = MakeEdit(box, hystLeft, kEnableTop + 28, 40);
    ui.UpDownHysterRpm = MakeUpDown(box, ui.EditHysterRpm, 0, 1250, 5);
    ui.LabelHysterRpm = MakeLabel(box, hystLeft + 70, kEnableTop + 28 + 3, QString());
    ui.EditHysterOff = MakeEdit(box, hystLeft + 160, hystTop, 40);
    ui.UpDownHysterOff = MakeUpDown(box, ui.EditHysterOff, 0, 1250, 5);
    ui.LabelHysterOff = MakeLabel(box, hystLeft + 160 + 70, kEnableTop + 1, QString());
    constexpr int kMinusLeft = 720;
    QFont stepFont = WindowFont(kSmallFontPx);
    stepFont.setPointSize(14);
    ui.ButtonMinus = MakeButton(box, {kMinusLeft, hystTop, 20, 20}, QStringLiteral("-"), false);
    ui.ButtonPlus = MakeButton(box, {kMinusLeft + 60, hystTop, 20, 20}, QStringLiteral("+"), false);
    ui.ButtonMinus->setFont(stepFont);
    ui.ButtonPlus->setFont(stepFont);
    ui.CheckBoxAll = makeCheck(QStringLiteral("All"), kMinusLeft + 120, kEnableTop);

    // 8. The Com menu: COM1 .. COM20 and the automatic search.
    for (int k = 0; k < kComItems; ++k) {
        QAction* item = ui.MenuCom->addAction(QStringLiteral("Com %1").arg(k + 1));
        item->setCheckable(true);
        ui.MenuComItems[static_cast<size_t>(k)] = item;
    }
    ui.MenuComItems[kComItems - 1]->setText(QStringLiteral("Com Auto"));
}

QToolButton* AddToolBar2Button(FormHlavUi& ui, const QIcon& icon, const QString& hint) {
    QGroupBox* bar = ui.GroupBoxToolBar2;
    const int index = static_cast<int>(bar->findChildren<QToolButton*>().size());
    auto* button = new QToolButton(bar);
    button->setGeometry(8 + kToolBar2Pitch * index, 12, 24, 23);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(icon);
    button->setIconSize(QSize(kPicturePx, kPicturePx));
    SetHint(button, hint, true);
    bar->show();
    return button;
}

QIcon WindowIcon() {
    // A servo map seen from above: a 3 x 3 grid of cells rising from blue to red, with the
    // cell the engine runs in marked in green, on a dark tile.
    constexpr int kIconPx = 32;
    return DrawnIcon(kIconPx, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 48, 64));
        p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
        const QColor cells[3][3] = {
            {QColor(40, 90, 220), QColor(60, 160, 230), QColor(90, 200, 120)},
            {QColor(60, 160, 230), QColor(0, 255, 0), QColor(240, 200, 40)},
            {QColor(90, 200, 120), QColor(240, 200, 40), QColor(220, 50, 40)}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                p.setBrush(cells[r][c]);
                p.drawRect(QRectF(4 + 8.5 * c, 4 + 8.5 * r, 7, 7));
            }
        }
    });
}

void ShowFileCaption(FormHlavUi& ui, const QString& caption) {
    // The room up to the pulses group's frame; a longer path is shortened in the middle, so
    // that its start (the drive or folder) and its name both stay readable.
    constexpr int kGap = 8;
    QLabel* label = ui.LabelFile2;
    const int room = ui.RadioGroupPocPulsu->x() - kGap - label->x();
    label->setText(label->fontMetrics().elidedText(caption, Qt::ElideMiddle, room));
    label->setToolTip(caption);
    label->adjustSize();
}

} // namespace zyrk
