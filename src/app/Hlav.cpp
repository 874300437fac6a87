#include "Hlav.h"

#include "About.h"
#include "IniStore.h"
#include "Jazyk.h"
#include "LanguageTexts.h"
#include "Limits.h"
#include "ParameterFile.h"
#include "Settings.h"
#include "SettingsFolder.h"
#include "ValueTools.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QScreen>

namespace zyrk {

namespace {
constexpr int kMvPerMapUnit = 20;
constexpr int kRpmPerAxisUnit = 100;
constexpr int kHysterUnit = 5;
constexpr int kTpsUnit = 10;
constexpr int kPercentMax = 100;
constexpr int kPercentStep = 1;
constexpr int kMapMvMax = 5000;
constexpr int kMapMvStep = 20;
const QColor kBrightGreen(0, 255, 0);

uint8_t Byte(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}
} // namespace

TFormHlav::TFormHlav(Port& port, Prompter& prompter, const Options& options, QWidget* parent)
    : QMainWindow(parent), link(port, image, messages, *this), prompter_(prompter),
      options_(options) {
    // The settings folder is prepared before anything reads it.
    if (options_.settingsFolder.isEmpty()) {
        const SettingsPaths paths = SetUpSettingsFolder();
        applicationIni_ = paths.applicationIni;
        defaultIni_ = paths.defaultIni;
    } else {
        const QDir folder(options_.settingsFolder);
        folder.mkpath(QStringLiteral("."));
        applicationIni_ = folder.filePath(QString::fromLatin1(kApplicationIniName));
        defaultIni_ = folder.filePath(QString::fromLatin1(kDefaultIniName));
    }
    BuildFormLayout(this, ui);
    editPalette_ = ui.EditTps0->palette();
    greenEditPalette_ = editPalette_;
    greenEditPalette_.setColor(QPalette::Base, kBrightGreen);
    rowPalette_ = ui.LabelTps0->palette();
    greenRowPalette_ = rowPalette_;
    greenRowPalette_.setColor(QPalette::Window, kBrightGreen);

    // The timer runs from the moment the window exists, so it also fires inside a message
    // box of the start-up; the tick copes with a closed port and empty controls.
    Timer1.setInterval(kTickMs);
    connect(&Timer1, &QTimer::timeout, this, &TFormHlav::Timer1Timer);
    if (options_.runTimer)
        Timer1.start();
}

TFormHlav::~TFormHlav() {
    if (qApp)
        qApp->removeEventFilter(this);
}

void TFormHlav::FormCreate() {
    BuildServoPages(ui); // 1
    ConnectHandlers();
    InstallHintHandler();              // 2
    link.ComIndex = kComAuto;          // 3
    FactoryDefaults(image);            // 4
    CentreWindow();                    // 5
    LoadSettings();                    // 6
    if (!options_.arguments.isEmpty()) // 7
        LanguageIndex = Byte(lang::LanguageFromWord(options_.arguments.first(), LanguageIndex));
    link.SilentTicks = kSilentLimit;      // 8
    ApplyLimits();                        // 9
    ApplyLanguage();                      // 10
    StartHistory();                       // 11
    ShowImage();                          // 12
    link.OpenPort();                      // 13
    ShowImage();                          // 14
    link.Display().statusVisible = false; // 15
    link.Display().gaugeVisible = false;
    link.Display().gaugeMax = kGaugeBlocks;
    link.Display().eeDataErrVisible = false;
    link.Display().versionVisible = false;
    ReadTestMarker(); // 16
    for (QLabel* label : ui.LabelTest)
        label->setVisible(TestEnable);
    Render();
}

void TFormHlav::FormClose() {
    if (closed_)
        return;
    closed_ = true;
    link.ClosePort();
    CommitControls();
    ApplyLimits();
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    FormClose();
    Timer1.stop();
    if (FormAbout)
        FormAbout->close();
    event->accept();
}

void TFormHlav::Timer1Timer() {
    link.Tick();
    Render();
    HighlightLiveCell();
}

void TFormHlav::CentreWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize s = screen->geometry().size();
    const QSize w = frameGeometry().size().expandedTo(sizeHint());
    move((s.width() - w.width()) / 2, (s.height() - w.height()) / 2);
}

void TFormHlav::LoadSettings() {
    IniStore ini(applicationIni_);
    LoadPortTable(ini, link.Names());

    SettingsValues v;
    const QRect frame = frameGeometry();
    v.left = frame.left();
    v.top = frame.top();
    v.height = frame.height();
    v.width = frame.width();
    v.comIndex = link.ComIndex;
    v.autoScanIndex = link.AutoScanIndex;
    v.languageIndex = LanguageIndex;
    v.page = ActivePage();
    ReadApplicationIni(ini, v);
    // The client area has the designed fixed size, so only the place is taken; the stored
    // size is the frame around it.
    move(v.left, v.top);
    link.ComIndex = v.comIndex;
    link.AutoScanIndex = v.autoScanIndex;
    LanguageIndex = v.languageIndex;
    ui.LabelFile2->setText(v.file);
    ui.LabelFile2->adjustSize();
    LastFilePath = v.lastFilePath;
    openPreset_ = savePreset_ = LastFilePath;
    // A page the tool never writes leaves the page on show as it is.
    if (v.page >= kPageMisc && v.page <= kPageServo2)
        SetActivePage(v.page);

    QFile defaults(defaultIni_);
    if (defaults.open(QIODevice::ReadOnly))
        ReadDefaultIni(defaults.readAll(), image, allCells);
}

void TFormHlav::SaveSettings() {
    IniStore ini(applicationIni_);
    SettingsValues v;
    const QRect frame = frameGeometry();
    v.left = frame.left();
    v.top = frame.top();
    v.height = frame.height();
    v.width = frame.width();
    v.comIndex = link.ComIndex;
    v.autoScanIndex = link.AutoScanIndex;
    v.languageIndex = LanguageIndex;
    v.file = ui.LabelFile2->text();
    v.lastFilePath = LastFilePath;
    v.page = ActivePage();
    WriteApplicationIni(ini, v);

    // Written whole or not at all: a failed write keeps the copy of the last run.
    QSaveFile defaults(defaultIni_);
    if (defaults.open(QIODevice::WriteOnly)) {
        defaults.write(DefaultIniText(image, allCells));
        defaults.commit();
    }
}

void TFormHlav::ReadTestMarker() {
    TestEnable = false;
    QFile marker(options_.testMarker.isEmpty() ? TestMarkerPath() : options_.testMarker);
    if (marker.open(QIODevice::ReadOnly))
        TestEnable = TestMarkerOn(marker.readAll());
}

// --- Commands ---------------------------------------------------------------------------

void TFormHlav::MenuNewClick() {
    if (prompter_.AskYesNoCancel(this, messages[MsgDefaultSetting]) != Prompter::Yes)
        return;
    FactoryDefaults(image);
    AfterChange();
    link.Display().statusVisible = false;
    link.Display().gaugeVisible = false;
    ui.LabelFile2->setText(QString());
    Render();
}

void TFormHlav::MenuProgramClick() {
    CommitControls();
    ApplyLimits();
    ShowImage();
    link.StartProgramming();
    Render();
}

void TFormHlav::MenuVerifyClick() {
    CommitControls();
    ApplyLimits();
    ShowImage();
    link.StartVerify();
    Render();
}

void TFormHlav::MenuReadClick() {
    link.StartRead();
    ui.LabelFile2->setText(QString()); // the image will no longer match a file
    Render();
}

void TFormHlav::MenuCom1Click(int index) {
    link.SelectPort(index);
    Render();
}

void TFormHlav::TookFile(const QString& path) {
    ui.LabelFile2->setText(QDir::toNativeSeparators(path));
    ui.LabelFile2->adjustSize();
    LastFilePath = QDir::toNativeSeparators(path);
    openPreset_ = savePreset_ = LastFilePath;
}

void TFormHlav::SaveFile(const QString& preset) {
    const QString path = prompter_.ChooseSaveFile(this, preset);
    if (path.isEmpty())
        return;
    savePreset_ = path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ShowMessage(messages[MsgOpenFileError]);
        return;
    }
    CommitControls();
    ApplyLimits();
    ShowImage();
    file.write(WriteParameterFile(image));
    // Written whole or not at all; a file that could not be completed is reported.
    if (!file.commit()) {
        ShowMessage(messages[MsgOpenFileError]);
        return;
    }
    TookFile(path);
}

void TFormHlav::OpenFile(const QString& preset) {
    const QString path = prompter_.ChooseOpenFile(this, preset);
    if (!path.isEmpty()) {
        openPreset_ = path;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            ShowMessage(messages[MsgOpenFileError]);
        } else {
            switch (ReadParameterFile(file.readAll(), image)) {
            case FileRead::Ok:
                AfterChange();
                TookFile(path);
                break;
            case FileRead::NoHeader:
                ShowMessage(messages[MsgUnmatchedFileVersion]);
                break;
            case FileRead::Damaged:
                ShowMessage(messages[MsgOpenFileError]);
                break;
            }
        }
    }
    link.Display().statusVisible = false;
    link.Display().gaugeVisible = false;
    Render();
}

void TFormHlav::MenuOpenClick() {
    OpenFile(openPreset_);
}

void TFormHlav::MenuSaveClick() {
    SaveFile(savePreset_);
}

// The exe-dir variants open the dialog on the tool's own folder with no name preset.
void TFormHlav::MenuOpenExeDirClick() {
    openPreset_ = savePreset_ = QString();
    OpenFile(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

void TFormHlav::MenuSaveExeDirClick() {
    openPreset_ = savePreset_ = QString();
    SaveFile(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

// --- Printing ---------------------------------------------------------------------------

void TFormHlav::SetPrintLayout(bool normal) {
    ui.StatusBar1->setVisible(normal);
    ui.GroupBoxToolBar->setVisible(normal);
    ui.LabelSpojeni->setVisible(normal);
    for (UpDown* upDown : ui.UpDownMapRpm)
        upDown->setVisible(normal);
    for (QLabel* label : ui.LabelMapRow)
        SetBackground(label, Qt::white);
    for (auto& row : ui.UpDownMap) {
        for (UpDown* upDown : row)
            upDown->setVisible(normal);
    }
    for (SpinButton* spin : ui.CSpinButtonMap)
        spin->setVisible(normal);
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.ButtonMinus, ui.ButtonPlus, ui.CheckBoxAll, ui.UpDownHysterMv, ui.UpDownHysterRpm,
             ui.UpDownHysterOff, ui.UpDownTps0, ui.UpDownTps100, ui.ButtonTps0, ui.ButtonTps100,
             ui.CGaugeRpm, ui.CGaugeTps})
        w->setVisible(normal);
    for (int page = 0; page < ui.PageControl1->count(); ++page) {
        if (page != ActivePage())
            ui.PageControl1->setTabVisible(page, normal);
    }
}

bool TFormHlav::PrintClientArea() {
    QPrinter printer(QPrinter::HighResolution);
    if (!options_.printFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(options_.printFile);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        return false;
    }
    printer.setDocName(windowTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Fit the page: as large as the printable area allows, proportions kept, top left.
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSize size = ui.client->size();
    const double scale = std::min(area.height() / size.height(), area.width() / size.width());
    painter.scale(scale, scale);
    ui.client->render(&painter);
    return painter.end();
}

void TFormHlav::SpeedButtonPrintClick() {
    static const char* const kDateLine[] = {
        "Datum a čas tisku:  ", "Date and Time of printing:  ", "Date and Time of printing:  "};
    const QLocale system = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    LinkDisplay& d = link.Display();
    d.statusShade = Shade::ButtonFace;
    d.statusText = QString::fromUtf8(kDateLine[lang::SanitizeLanguage(LanguageIndex)]) +
                   system.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("    ") +
                   system.toString(now.time(), QLocale::LongFormat);
    link.MessageTime = kMessageTicks;
    d.statusVisible = true;
    d.gaugeVisible = false;
    Render();

    const QPalette normal = ui.client->palette();
    QPalette white = normal;
    white.setColor(QPalette::Window, Qt::white);
    ui.client->setPalette(white);
    ui.client->setAutoFillBackground(true);
    SetPrintLayout(false);
    const bool printed = PrintClientArea();
    // Unlike a failed print that left the window stripped, the window always comes back.
    ui.client->setPalette(normal);
    SetPrintLayout(true);
    UpdatePageFurniture();
    ResetLiveColours();
    renderedOnce_ = false; // the connection label and the rest come back as the link says
    Render();
    if (!printed)
        ShowMessage(tr("Printing failed: no printer is available."));
}

void TFormHlav::MenuAboutClick() {
    if (FormAbout)
        FormAbout->exec();
}

void TFormHlav::SetLanguage(int language) {
    LanguageIndex = Byte(language);
    ApplyLanguage();
    ShowImage();
}

void TFormHlav::ApplyLanguage() {
    LanguageIndex = Byte(lang::SanitizeLanguage(LanguageIndex));
    const int language = LanguageIndex;
    ApplyLanguageTexts(this, ui, language);
    // The message table, then the placeholders while no unit answers.
    messages.Fill(language);
    if (link.Display().connectionVisible)
        link.ShowPlaceholders();
    Render();
}

void TFormHlav::ShowMessage(const QString& text) {
    prompter_.Message(this, text);
}

// --- Editing operations -----------------------------------------------------------------

void TFormHlav::ApplyLimits() {
    ApplyAxisLimits(image);
    ClampPortIndexes(link.ComIndex, link.AutoScanIndex);
}

void TFormHlav::CommitControls() {
    if (showing_)
        return;
    if (ActivePage() == kPageMisc) {
        image.SetTps0(Byte(ui.UpDownTps0->Position() / kTpsUnit));
        image.SetTps100(Tps100FromMv(ui.UpDownTps100->Position()));
        const int item = ui.PocPulsuButtons->checkedId();
        if (item >= 0)
            image.SetPocetPulsu(Byte(item));
        return;
    }
    const int s = ServoOfPage();
    image.SetProcenta(s, ui.CheckBoxProcenta->isChecked() ? 1 : 0);
    const int divisor = image.Procenta(s) == 1 ? 1 : kMvPerMapUnit;
    for (size_t j = 0; j < kMapColumns; ++j) {
        image.SetRpm(s, int(j), Byte(ui.UpDownMapRpm[j]->Position() / kRpmPerAxisUnit));
        for (size_t i = 0; i < kMapRows; ++i)
            image.SetCell(s, int(i), int(j), Byte(ui.UpDownMap[i][j]->Position() / divisor));
    }
    image.SetHysterMv(s, Byte(ui.UpDownHysterMv->Position() / kHysterUnit));
    image.SetHysterRpm(s, Byte(ui.UpDownHysterRpm->Position() / kHysterUnit));
    image.SetHysterOff(s, Byte(ui.UpDownHysterOff->Position() / kHysterUnit));
    image.SetServoEnable(s, ui.CheckBoxServoEnable->isChecked() ? 1 : 0);
    image.SetTpEnable(s, ui.CheckBoxTpEnable->isChecked() ? 1 : 0);
    allCells[static_cast<size_t>(s)] = ui.CheckBoxAll->isChecked() ? 1 : 0;
}

void TFormHlav::ShowImage() {
    showing_ = true;
    UpdatePageFurniture();
    if (ActivePage() == kPageMisc) {
        ui.UpDownTps0->SetPosition(image.Tps0() * kTpsUnit);
        ui.UpDownTps100->SetPosition(Tps100ToMv(image.Tps100()));
        const int item = std::min<int>(image.PocetPulsu(), kPulsesItems - 1);
        ui.PocPulsuItems[static_cast<size_t>(item)]->setChecked(true);
    } else {
        const int s = ServoOfPage();
        ui.CheckBoxProcenta->setChecked(image.Procenta(s) != 0);
        const int factor = image.Procenta(s) == 1 ? 1 : kMvPerMapUnit;
        for (size_t j = 0; j < kMapColumns; ++j) {
            ui.UpDownMapRpm[j]->SetPosition(image.Rpm(s, int(j)) * kRpmPerAxisUnit);
            for (size_t i = 0; i < kMapRows; ++i)
                ui.UpDownMap[i][j]->SetPosition(image.Cell(s, int(i), int(j)) * factor);
        }
        ui.UpDownHysterMv->SetPosition(image.HysterMv(s) * kHysterUnit);
        ui.UpDownHysterRpm->SetPosition(image.HysterRpm(s) * kHysterUnit);
        ui.UpDownHysterOff->SetPosition(image.HysterOff(s) * kHysterUnit);
        ui.CheckBoxServoEnable->setChecked(image.ServoEnable(s) != 0);
        ui.CheckBoxTpEnable->setChecked(image.TpEnable(s) != 0);
        ui.CheckBoxAll->setChecked(allCells[static_cast<size_t>(s)] != 0);
    }
    UpdatePageFurniture();
    showing_ = false;
}

void TFormHlav::UpdatePageFurniture() {
    // 1. The servo controls live on the servo page on show (servo 2's when none is).
    QWidget* page = ActivePage() == kPageServo1 ? ui.TabSheet_Servo1 : ui.TabSheet_Servo2;
    if (ui.GroupBoxServo->parentWidget() != page) {
        page->layout()->addWidget(ui.GroupBoxServo);
        ui.GroupBoxServo->show();
    }
    // 2. Rows 1..9 and their furniture follow "TP Enable".
    const bool rows = ui.CheckBoxTpEnable->isChecked();
    for (size_t i = 1; i < kMapRows; ++i) {
        for (size_t j = 0; j < kMapColumns; ++j) {
            ui.EditMap[i][j]->setVisible(rows);
            ui.UpDownMap[i][j]->setVisible(rows);
        }
    }
    for (QLabel* label : ui.LabelMapRow)
        label->setVisible(rows);
    ui.LabelMapTps->setVisible(rows);
    for (SpinButton* spin : ui.CSpinButtonMap)
        spin->setVisible(rows);
    // 3. The map's range and step follow the unit of the servo on show.
    const bool percent = image.Procenta(ActivePage() == kPageServo1 ? 0 : 1) == 1;
    const int max = percent ? kPercentMax : kMapMvMax;
    const int step = percent ? kPercentStep : kMapMvStep;
    if (ui.UpDownMap[0][0]->Max() != max || ui.UpDownMap[0][0]->Increment() != step) {
        for (auto& row : ui.UpDownMap) {
            for (UpDown* upDown : row) {
                upDown->SetRange(0, max);
                upDown->SetIncrement(step);
            }
        }
    }
    // 4. The unit's version texts.
    const UnitTexts& t = link.Texts();
    for (auto [label, text] : {std::pair{ui.LabelVerze1, t.name}, std::pair{ui.LabelVerze2, t.date},
                               std::pair{ui.LabelVerze3, t.time}}) {
        if (label->text() != text) {
            label->setText(text);
            label->adjustSize();
        }
    }
    // 5. A ticked "program after change" is shown in red as a warning.
    SetBackground(ui.CheckBoxProgHned, ui.CheckBoxProgHned->isChecked()
                                           ? QColor(Qt::red)
                                           : palette().color(QPalette::Button));
}

void TFormHlav::AfterChange() {
    ApplyLimits();
    ShowImage();
    PushHistory();
}

void TFormHlav::StartHistory() {
    history.Start(image, ActivePage());
    UpdateUndoControls();
}

void TFormHlav::PushHistory() {
    if (history.Push(image, ActivePage())) {
        UpdateUndoControls();
        if (ui.CheckBoxProgHned->isChecked())
            link.StartProgramming();
        HistoryArmed = ui.CheckBoxProgHned->isChecked();
        Render();
        return;
    }
    // An unchanged image is programmed again only when the step before found the box
    // ticked too, so ticking the box alone never starts a programming.
    if (ui.CheckBoxProgHned->isChecked()) {
        if (HistoryArmed)
            link.StartProgramming();
        HistoryArmed = true;
    } else {
        HistoryArmed = false;
    }
    Render();
}

void TFormHlav::UpdateUndoControls() {
    ui.SpeedButtonZpet->setEnabled(history.CanUndo());
    ui.MenuZpet->setEnabled(history.CanUndo());
    ui.SpeedButtonZnovu->setEnabled(history.CanRedo());
    ui.MenuZnovu->setEnabled(history.CanRedo());
}

void TFormHlav::RestoreSnapshot(bool undo) {
    int page = ActivePage();
    if (!(undo ? history.Undo(image, page) : history.Redo(image, page)))
        return;
    if (page != ActivePage())
        SetActivePage(page);
    ShowImage();
    UpdateUndoControls();
    if (ui.CheckBoxProgHned->isChecked())
        link.StartProgramming();
    Render();
}

void TFormHlav::SpeedButtonZpetClick() {
    RestoreSnapshot(true);
}

void TFormHlav::SpeedButtonZnovuClick() {
    RestoreSnapshot(false);
}

// --- Value tools ------------------------------------------------------------------------

void TFormHlav::StepLiveOrAll(bool up) {
    if (ActivePage() == kPageMisc)
        return;
    StepTarget target = StepTarget::LiveCell;
    if (ui.CheckBoxAll->isChecked())
        target = ui.CheckBoxTpEnable->isChecked() ? StepTarget::AllCells : StepTarget::Row0;
    StepMap(image, ServoOfPage(), target, link.LiveRow, link.LiveColumn, up);
    AfterChange();
}

void TFormHlav::CSpinButtonDownClick_Uni(int column) {
    StepColumn(image, ServoOfPage(), column, false);
    AfterChange();
}

void TFormHlav::CSpinButtonUpClick_Uni(int column) {
    StepColumn(image, ServoOfPage(), column, true);
    AfterChange();
}

void TFormHlav::ButtonTps0Click() {
    if (CaptureTps0(image, link.LiveTpsMv))
        AfterChange();
}

void TFormHlav::ButtonTps100Click() {
    if (CaptureTps100(image, link.LiveTpsMv))
        AfterChange();
}

void TFormHlav::CheckBoxProcentaMouseUp() {
    SwitchMapUnit(image, ServoOfPage(), ui.CheckBoxProcenta->isChecked());
    AfterChange();
}

void TFormHlav::SetActivePage(int page) {
    pageByProgram_ = true;
    ui.PageControl1->setCurrentIndex(page);
    pageByProgram_ = false;
}

// --- Event handlers ---------------------------------------------------------------------

void TFormHlav::Edit1Exit() {
    CommitControls();
    AfterChange();
}

void TFormHlav::UpDown1Click() {
    CommitControls();
    AfterChange();
}

void TFormHlav::CheckBoxProgHnedMouseUp() {
    CommitControls();
    AfterChange();
}

void TFormHlav::RadioGroupPocPulsuClick(int index) {
    image.SetPocetPulsu(Byte(index));
    PushHistory();
}

void TFormHlav::CheckBoxTpEnableMouseUp() {
    ui.GroupBoxServo->hide();
    CommitControls();
    UpdatePageFurniture();
    AfterChange();
    ui.GroupBoxServo->show();
}

void TFormHlav::PageControl1Change() {
    ui.GroupBoxServo->hide();
    ShowImage();
    ui.GroupBoxServo->show();
}

void TFormHlav::ConnectHandlers() {
    // Toolbar and menus
    connect(ui.SpeedButtonNew, &QToolButton::clicked, this, &TFormHlav::MenuNewClick);
    connect(ui.MenuNew, &QAction::triggered, this, &TFormHlav::MenuNewClick);
    connect(ui.ButtonRead, &QPushButton::clicked, this, &TFormHlav::MenuReadClick);
    connect(ui.MenuRead, &QAction::triggered, this, &TFormHlav::MenuReadClick);
    connect(ui.ButtonVerify, &QPushButton::clicked, this, &TFormHlav::MenuVerifyClick);
    connect(ui.MenuVerify, &QAction::triggered, this, &TFormHlav::MenuVerifyClick);
    connect(ui.ButtonProgram, &QPushButton::clicked, this, &TFormHlav::MenuProgramClick);
    connect(ui.MenuProgram, &QAction::triggered, this, &TFormHlav::MenuProgramClick);
    connect(ui.MenuContens, &QAction::triggered, this, &TFormHlav::MenuContensClick);
    connect(ui.MenuPrint, &QAction::triggered, this, &TFormHlav::SpeedButtonPrintClick);
    connect(ui.SpeedButtonPrint, &QToolButton::clicked, this, &TFormHlav::SpeedButtonPrintClick);
    connect(ui.MenuOpen, &QAction::triggered, this, &TFormHlav::MenuOpenClick);
    connect(ui.SpeedButtonOpen, &QToolButton::clicked, this, &TFormHlav::MenuOpenClick);
    connect(ui.MenuOpenExeDir, &QAction::triggered, this, &TFormHlav::MenuOpenExeDirClick);
    connect(ui.MenuSave, &QAction::triggered, this, &TFormHlav::MenuSaveClick);
    connect(ui.SpeedButtonSave, &QToolButton::clicked, this, &TFormHlav::MenuSaveClick);
    connect(ui.MenuSaveExeDir, &QAction::triggered, this, &TFormHlav::MenuSaveExeDirClick);
    connect(ui.MenuAbout, &QAction::triggered, this, &TFormHlav::MenuAboutClick);
    connect(ui.MenuExit, &QAction::triggered, this, &TFormHlav::MenuExitClick);
    connect(ui.MenuCzech, &QAction::triggered, this, &TFormHlav::MenuCzechClick);
    connect(ui.MenuEnglish, &QAction::triggered, this, &TFormHlav::MenuEnglishClick);
    connect(ui.MenuGerman, &QAction::triggered, this, &TFormHlav::MenuGermanClick);
    connect(ui.SpeedButtonZpet, &QToolButton::clicked, this, &TFormHlav::SpeedButtonZpetClick);
    connect(ui.MenuZpet, &QAction::triggered, this, &TFormHlav::SpeedButtonZpetClick);
    connect(ui.SpeedButtonZnovu, &QToolButton::clicked, this, &TFormHlav::SpeedButtonZnovuClick);
    connect(ui.MenuZnovu, &QAction::triggered, this, &TFormHlav::SpeedButtonZnovuClick);
    connect(ui.MenuToolsMinus, &QAction::triggered, this, &TFormHlav::MenuToolsMinusClick);
    connect(ui.ButtonMinus, &QPushButton::clicked, this, &TFormHlav::MenuToolsMinusClick);
    connect(ui.MenuToolsPlus, &QAction::triggered, this, &TFormHlav::MenuToolsPlusClick);
    connect(ui.ButtonPlus, &QPushButton::clicked, this, &TFormHlav::MenuToolsPlusClick);
    connect(ui.ButtonTps0, &QPushButton::clicked, this, &TFormHlav::ButtonTps0Click);
    connect(ui.ButtonTps100, &QPushButton::clicked, this, &TFormHlav::ButtonTps100Click);
    connect(ui.CheckBoxProcenta, &QCheckBox::clicked, this, &TFormHlav::CheckBoxProcentaMouseUp);
    for (int j = 0; j < kMapColumns; ++j) {
        SpinButton* spin = ui.CSpinButtonMap[static_cast<size_t>(j)];
        connect(spin, &SpinButton::DownClick, this, [this, j] { CSpinButtonDownClick_Uni(j); });
        connect(spin, &SpinButton::UpClick, this, [this, j] { CSpinButtonUpClick_Uni(j); });
    }
    for (int k = 0; k < kComItems; ++k) {
        connect(ui.MenuComItems[static_cast<size_t>(k)], &QAction::triggered, this,
                [this, k] { MenuCom1Click(k); });
    }

    // Clicks and Enter in the edit fields reach eventFilter through the application-wide
    // filter that also carries the hints.
    auto stepCommits = [this](UpDown* upDown) {
        connect(upDown, &UpDown::Clicked, this, &TFormHlav::UpDown1Click);
    };
    for (UpDown* upDown : ui.UpDownMapRpm)
        stepCommits(upDown);
    for (auto& row : ui.UpDownMap) {
        for (UpDown* upDown : row)
            stepCommits(upDown);
    }
    for (UpDown* upDown : {ui.UpDownHysterMv, ui.UpDownHysterRpm, ui.UpDownHysterOff})
        stepCommits(upDown);
    for (UpDown* upDown : {ui.UpDownTps0, ui.UpDownTps100})
        connect(upDown, &UpDown::MouseReleased, this, &TFormHlav::CheckBoxProgHnedMouseUp);
    for (QCheckBox* check : {ui.CheckBoxServoEnable, ui.CheckBoxAll})
        connect(check, &QCheckBox::clicked, this, &TFormHlav::CheckBoxProgHnedMouseUp);
    connect(ui.CheckBoxTpEnable, &QCheckBox::clicked, this, &TFormHlav::CheckBoxTpEnableMouseUp);
    connect(ui.CheckBoxProgHned, &QCheckBox::toggled, this, [this] { UpdatePageFurniture(); });
    // Only the user's pick reaches the handler; ShowImage's selection does not.
    connect(ui.PocPulsuButtons, &QButtonGroup::idClicked, this,
            &TFormHlav::RadioGroupPocPulsuClick);
    connect(ui.PageControl1, &QTabWidget::currentChanged, this, [this] {
        if (!pageByProgram_)
            PageControl1Change();
    });
}

bool TFormHlav::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == this) {
            // The hint of the control under the pointer, or of the nearest container with one.
            QString hint;
            for (const QObject* o = w; o && o != this && hint.isEmpty(); o = o->parent())
                hint = HintOf(o);
            HintToStatusBar(LongHint(hint));
        }
        break;
    case QEvent::Leave:
        if (auto* w = qobject_cast<QWidget*>(watched); w && w->window() == this && w != this) {
            QString hint;
            for (const QObject* o = w->parent(); o && o != this && hint.isEmpty(); o = o->parent())
                hint = HintOf(o);
            HintToStatusBar(LongHint(hint));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (qobject_cast<QLineEdit*>(watched) && watched->parent() &&
            static_cast<QWidget*>(watched)->window() == this) {
            Edit1Exit();
        }
        break;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool ours = qobject_cast<QLineEdit*>(watched) || watched == ui.CheckBoxProgHned;
        if (enter && ours && static_cast<QWidget*>(watched)->window() == this) {
            focusNextChild();
            CommitControls();
            AfterChange();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormHlav::InstallHintHandler() {
    qApp->installEventFilter(this);
    auto menuHint = [this](QAction* action) { HintToStatusBar(LongHint(HintOf(action))); };
    connect(menuBar(), &QMenuBar::hovered, this, menuHint);
    for (QMenu* menu :
         {ui.MenuFile, ui.MenuCom, ui.MenuDevice, ui.MenuTools, ui.MenuLanguage, ui.MenuHelp})
        connect(menu, &QMenu::hovered, this, menuHint);
}

void TFormHlav::HintToStatusBar(const QString& hint) {
    if (ui.StatusBar1->currentMessage() != hint)
        ui.StatusBar1->showMessage(hint);
}

// --- Drawing ----------------------------------------------------------------------------

QColor TFormHlav::ShadeColor(Shade shade) const {
    switch (shade) {
    case Shade::Red:
        return Qt::red;
    case Shade::Yellow:
        return Qt::yellow;
    default:
        return palette().color(QPalette::Button);
    }
}

namespace {
void SetText(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}
} // namespace

void TFormHlav::Render() {
    const LinkDisplay& d = link.Display();
    const LinkDisplay& r = rendered_;
    const bool all = !renderedOnce_;
    auto text = [all](QLabel* label, const QString& now, const QString& before) {
        if (all || now != before)
            SetText(label, now);
    };
    auto shade = [this, all](QWidget* w, Shade now, Shade before) {
        if (all || now != before)
            SetBackground(w, ShadeColor(now));
    };
    auto visible = [all](QWidget* w, bool now, bool before) {
        if (all || now != before)
            w->setVisible(now);
    };

    text(ui.LabelHlaseni, d.statusText, r.statusText);
    shade(ui.LabelHlaseni, d.statusShade, r.statusShade);
    visible(ui.LabelHlaseni, d.statusVisible, r.statusVisible);
    if (all || d.gaugeMax != r.gaugeMax)
        ui.CGaugeProgram->SetMaximum(d.gaugeMax);
    if (all || d.gaugeProgress != r.gaugeProgress || d.gaugeMax != r.gaugeMax)
        ui.CGaugeProgram->SetProgress(d.gaugeProgress);
    visible(ui.CGaugeProgram, d.gaugeVisible, r.gaugeVisible);
    visible(ui.LabelSpojeni, d.connectionVisible, r.connectionVisible);
    text(ui.LabelVersion, d.versionText, r.versionText);
    visible(ui.LabelVersion, d.versionVisible, r.versionVisible);
    visible(ui.LabelEeDataErr, d.eeDataErrVisible, r.eeDataErrVisible);
    text(ui.LabelRpm, d.rpmText, r.rpmText);
    if (all || d.rpmGauge != r.rpmGauge)
        ui.CGaugeRpm->SetProgress(d.rpmGauge);
    text(ui.LabelTpsMon, d.tpsText, r.tpsText);
    shade(ui.LabelTpsMon, d.tpsShade, r.tpsShade);
    if (all || d.tpsGauge != r.tpsGauge)
        ui.CGaugeTps->SetProgress(d.tpsGauge);
    text(ui.LabelNapeti, d.napetiText, r.napetiText);
    shade(ui.LabelNapeti, d.napetiShade, r.napetiShade);
    for (size_t s = 0; s < 2; ++s) {
        text(ui.LabelServoPoz[s], d.servoPozText[s], r.servoPozText[s]);
        text(ui.LabelServoMer[s], d.servoMerText[s], r.servoMerText[s]);
        shade(ui.LabelServoPoz[s], d.servoShade[s], r.servoShade[s]);
        shade(ui.LabelServoMer[s], d.servoShade[s], r.servoShade[s]);
    }
    text(ui.LabelPocetProgramovani, d.programCountText, r.programCountText);
    for (size_t i = 0; i < d.testText.size(); ++i)
        text(ui.LabelTest[i], d.testText[i], r.testText[i]);
    text(ui.LabelCom, d.comText, r.comText);
    if (all || d.comChecked != r.comChecked) {
        for (int k = 0; k < kComItems; ++k)
            ui.MenuComItems[static_cast<size_t>(k)]->setChecked(k == d.comChecked);
    }
    rendered_ = d;
    renderedOnce_ = true;
}

void TFormHlav::ColourLiveCell(int row, int column, bool lit) {
    if (row < 0 || column < 0)
        return;
    ui.EditMapRpm[static_cast<size_t>(column)]->setPalette(lit ? greenEditPalette_ : editPalette_);
    ui.LabelMapRow[static_cast<size_t>(row)]->setPalette(lit ? greenRowPalette_ : rowPalette_);
    ui.EditMap[static_cast<size_t>(row)][static_cast<size_t>(column)]->setPalette(
        lit ? greenEditPalette_ : editPalette_);
}

void TFormHlav::ResetLiveColours() {
    for (QLabel* label : ui.LabelMapRow)
        label->setPalette(rowPalette_);
    ColourLiveCell(litRow_, litColumn_, false);
    litRow_ = litColumn_ = -1; // the next tick colours the live cell afresh
}

void TFormHlav::HighlightLiveCell() {
    const int page = ActivePage();
    if (page == kPageMisc)
        return;
    const int servo = page == kPageServo1 ? 0 : 1;
    const int column =
        NearestColumn(image.Data().data() + ParamImage::RpmOffset(servo), link.LiveRpm);
    const int row = NearestRow(link.LiveTpPercent, ui.CheckBoxTpEnable->isChecked());
    link.LiveColumn = Byte(column);
    link.LiveRow = Byte(row);
    if (row == litRow_ && column == litColumn_)
        return;
    // Only the controls whose colour changes are touched: the old cell's and the new one's.
    ColourLiveCell(litRow_, litColumn_, false);
    ColourLiveCell(row, column, true);
    litRow_ = row;
    litColumn_ = column;
}

} // namespace zyrk
