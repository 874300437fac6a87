#include "Hlav.h"

#include "About.h"
#include "ErrorDetail.h"
#include "HlavCompare.h"
#include "HlavDetail.h"
#include "HlavLog.h"
#include "HlavMaps.h"
#include "HlavRestore.h"
#include "Jazyk.h"
#include "LanguageTexts.h"
#include "Limits.h"
#include "Placement.h"
#include "SettingsFolder.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <memory>

namespace zyrk {

using namespace detail;

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
    progHnedPalette_ = ui.CheckBoxProgHned->palette();
    redProgHnedPalette_ = progHnedPalette_;
    // A check box fills its background in the button colour, and Fusion paints its text area
    // on the window colour; the tick box itself keeps the base colour.
    redProgHnedPalette_.setColor(QPalette::Button, Qt::red);
    redProgHnedPalette_.setColor(QPalette::Window, Qt::red);
    greyEditPalette_ = editPalette_;
    greyEditPalette_.setColor(QPalette::Base, kStaleCellGrey);
    greyRowPalette_ = rowPalette_;
    greyRowPalette_.setColor(QPalette::Window, kStaleCellGrey);
    rpmBarColor_ = ui.CGaugeRpm->BarColor();
    tpsBarColor_ = ui.CGaugeTps->BarColor();

    // The timer runs from the moment the window exists, so it also fires inside a message
    // box of the start-up; the tick copes with a closed port and empty controls.
    // A coarse timer would let the tick drift to 52 ms; every time-out of the link counts ticks.
    Timer1.setTimerType(Qt::PreciseTimer);
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
    NameControls(ui);
    ConnectHandlers();
    compare = new CompareTool(*this);
    Maps = new HlavMaps(*this);
    connect(compare, &CompareTool::OutlinesChanged, Maps, &HlavMaps::ShowOutlines);
    DataLog = new HlavLog(*this, applicationIni_);
    Restore = new HlavRestore(*this, applicationIni_);
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
    if (DataLog)
        DataLog->Close();
    if (Restore)
        Restore->Close();
    link.ClosePort();
    CommitControls();
    ApplyLimits();
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    FormClose();
    if (Maps)
        Maps->CloseAll();
    Timer1.stop();
    if (FormAbout)
        FormAbout->close();
    event->accept();
}

void TFormHlav::Timer1Timer() {
    ++tickDepth_;
    link.Tick();
    Render();
    HighlightLiveCell();
    if (Maps)
        Maps->Tick();
    --tickDepth_;
}

void TFormHlav::CentreWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize s = screen->geometry().size();
    const QSize w = frameGeometry().size().expandedTo(sizeHint());
    PlaceWindow(QPoint((s.width() - w.width()) / 2, (s.height() - w.height()) / 2));
}

void TFormHlav::PlaceWindow(QPoint topLeft) {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect home = primary ? primary->availableGeometry() : QRect();
    const QSize w = frameGeometry().size().expandedTo(sizeHint());
    move(KeepOnScreen(topLeft, w, areas, home));
}

// --- Commands ---------------------------------------------------------------------------

void TFormHlav::MenuNewClick() {
    if (prompter_.AskYesNoCancel(this, messages[MsgDefaultSetting]) != Prompter::Yes)
        return;
    FactoryDefaults(image);
    AfterChange();
    link.Display().statusVisible = false;
    link.Display().gaugeVisible = false;
    SetFileCaption(QString());
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
    SetFileCaption(QString()); // the image will no longer match a file
    Render();
}

void TFormHlav::MenuCom1Click(int index) {
    link.SelectPort(index);
    Render();
    // The clicked item toggled its own mark, even when the choice stayed the same.
    MarkComItem(link.Display().comChecked);
}

void TFormHlav::MarkComItem(int index) {
    for (int k = 0; k < kComItems; ++k)
        ui.MenuComItems[static_cast<size_t>(k)]->setChecked(k == index);
}

void TFormHlav::MenuAboutClick() {
    if (FormAbout)
        FormAbout->exec();
}

void TFormHlav::SetFileCaption(const QString& caption) {
    fileCaption_ = caption;
    ShowFileCaption(ui, caption);
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
    toolkitTexts_.Use(language);
    if (compare)
        compare->ApplyLanguage(language);
    Maps->ApplyLanguage();
    // The message table, then the placeholders while no unit answers.
    messages.Fill(language);
    if (link.Display().connectionVisible)
        link.ShowPlaceholders();
    if (DataLog)
        DataLog->ApplyLanguage(language);
    if (Restore)
        Restore->ApplyLanguage(language);
    Render();
}

void TFormHlav::ShowMessage(const QString& text) {
    // A box that the tick itself shows (the version mismatch of a transfer) runs its nested
    // event loop inside Timer1's own slot, where Timer1 cannot fire again. A timer of the
    // box's own carries the tick on while it stands, so the live values and the watchdog go on.
    std::unique_ptr<QTimer> carrier;
    if (tickDepth_ > 0 && Timer1.isActive()) {
        carrier = std::make_unique<QTimer>();
        carrier->setTimerType(Qt::PreciseTimer);
        carrier->setInterval(kTickMs);
        connect(carrier.get(), &QTimer::timeout, this, &TFormHlav::Timer1Timer);
        carrier->start();
    }
    prompter_.Message(this, text);
}

void TFormHlav::ShowPortOpenError(const QString& text, const QString& path,
                                  const PortOpenFailure& failure) {
    prompter_.MessageWithDetail(this, text, PortOpenDetail(path, failure, LanguageIndex));
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

bool TFormHlav::IsImageUndoKey(const QKeyEvent* key) const {
    const QKeySequence pressed(key->keyCombination());
    return pressed == ui.MenuZpet->shortcut() || pressed == ui.MenuZnovu->shortcut();
}

bool TFormHlav::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
        // Entering a control shows its hint; leaving it shows that of the container the
        // pointer goes back to (a sibling entered next overrides it at once).
        if (auto* w = qobject_cast<QWidget*>(watched); w && w != this && w->window() == this) {
            const QObject* from = event->type() == QEvent::Enter ? w : w->parent();
            HintToStatusBar(LongHint(InheritedHint(from)));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (qobject_cast<QLineEdit*>(watched) && watched->parent() &&
            static_cast<QWidget*>(watched)->window() == this) {
            Edit1Exit();
        }
        break;
    case QEvent::ShortcutOverride: {
        // An edit field claims Ctrl+Z for its own text undo; in this window undo and redo act
        // on the parameter image from every control, so the field must not take the keys.
        auto* key = static_cast<QKeyEvent*>(event);
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this && IsImageUndoKey(key)) {
            event->ignore();
            return true;
        }
        break;
    }
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

// The hint of a control, or of the nearest container that has one.
QString TFormHlav::InheritedHint(const QObject* from) const {
    QString hint;
    for (const QObject* o = from; o && o != this && hint.isEmpty(); o = o->parent())
        hint = HintOf(o);
    return hint;
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
    if (all || d.connectionVisible != r.connectionVisible)
        ShowStale(d.connectionVisible);
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
    if (all || d.comChecked != r.comChecked)
        MarkComItem(d.comChecked);
    if (all || d.servoPozText[0] != r.servoPozText[0] || d.servoMerText[0] != r.servoMerText[0])
        KeepServoColumnsApart();
    ShowSearchingPort(d);
    rendered_ = d;
    renderedOnce_ = true;
}

// A servo 1 text that grows past the designed column of servo 2 (German, four-digit values)
// pushes both servo 2 labels right rather than run into them; they come back when it shrinks.
void TFormHlav::KeepServoColumnsApart() {
    constexpr int kServo2Left = 706;
    constexpr int kGap = 8;
    const int widest =
        std::max(ui.LabelServoPoz[0]->geometry().right(), ui.LabelServoMer[0]->geometry().right());
    const int left = std::max(kServo2Left, widest + 1 + kGap);
    for (QLabel* label : {ui.LabelServoPoz[1], ui.LabelServoMer[1]}) {
        if (label->x() != left)
            label->move(left, label->y());
    }
}

void TFormHlav::ShowStale(bool stale) {
    stale_ = stale;
    // The texts stay as they are; only their colour says that they are no longer live.
    const QColor text = stale ? palette().color(QPalette::Disabled, QPalette::WindowText)
                              : palette().color(QPalette::Active, QPalette::WindowText);
    std::vector<QLabel*> labels{ui.LabelRpm, ui.LabelTpsMon, ui.LabelNapeti,
                                ui.LabelPocetProgramovani};
    labels.insert(labels.end(), ui.LabelServoPoz.begin(), ui.LabelServoPoz.end());
    labels.insert(labels.end(), ui.LabelServoMer.begin(), ui.LabelServoMer.end());
    labels.insert(labels.end(), ui.LabelTest.begin(), ui.LabelTest.end());
    for (QLabel* label : labels) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, text);
        label->setPalette(pal);
    }
    ui.CGaugeRpm->SetBarColor(stale ? kStaleBarGrey : rpmBarColor_);
    ui.CGaugeTps->SetBarColor(stale ? kStaleBarGrey : tpsBarColor_);
    ColourLiveCell(litRow_, litColumn_, true);
}

// The status bar belongs to the hints. While none is shown and the automatic search is
// looking for the unit, it names the port being tried; a hint that appears takes the bar,
// and the search text comes back once the bar is empty again.
void TFormHlav::ShowSearchingPort(const LinkDisplay& d) {
    const QString want = d.connectionVisible && d.searchPort > 0
                             ? SearchingText(d.searchPort, d.searchPath, LanguageIndex)
                             : QString();
    const QString now = ui.StatusBar1->currentMessage();
    if ((now.isEmpty() || now == searchShown_) && now != want) {
        if (want.isEmpty())
            ui.StatusBar1->clearMessage();
        else
            ui.StatusBar1->showMessage(want);
    }
    searchShown_ = want;
}

void TFormHlav::ColourLiveCell(int row, int column, bool lit) {
    if (row < 0 || column < 0)
        return;
    const QPalette& litEdit = stale_ ? greyEditPalette_ : greenEditPalette_;
    const QPalette& litRow = stale_ ? greyRowPalette_ : greenRowPalette_;
    ui.EditMapRpm[static_cast<size_t>(column)]->setPalette(lit ? litEdit : editPalette_);
    ui.LabelMapRow[static_cast<size_t>(row)]->setPalette(lit ? litRow : rowPalette_);
    ui.EditMap[static_cast<size_t>(row)][static_cast<size_t>(column)]->setPalette(
        lit ? litEdit : editPalette_);
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
    const MapPosition live = LiveCell(image, servo, link.LiveRpm, link.LiveTpPercent);
    const int row = live.row;
    const int column = live.column;
    LiveColumn = Byte(column);
    LiveRow = Byte(row);
    if (row == litRow_ && column == litColumn_)
        return;
    // Only the controls whose colour changes are touched: the old cell's and the new one's.
    ColourLiveCell(litRow_, litColumn_, false);
    ColourLiveCell(row, column, true);
    litRow_ = row;
    litColumn_ = column;
}

} // namespace zyrk
