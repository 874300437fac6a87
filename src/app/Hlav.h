#pragma once

#include "FormHlavUi.h"
#include "History.h"
#include "Link.h"
#include "Messages.h"
#include "ParamImage.h"
#include "Prompter.h"
#include "Settings.h"
#include "ToolkitTranslation.h"

#include <QMainWindow>
#include <QTimer>

class QKeyEvent;

namespace zyrk {

class TFormAbout;
class CompareTool;
class HlavMaps;
class HlavLog;
class HlavRestore;

// The main window: owns the parameter image, the link and every control, wires events to
// the editing operations and draws what the link reports. The logic lives in params and
// link; this class decides nothing that they can decide.
class TFormHlav : public QMainWindow, public LinkHost {
    Q_OBJECT

  public:
    struct Options {
        QStringList arguments;  // the command line after the program name
        bool runTimer = true;   // tests drive Timer1Timer themselves
        QString settingsFolder; // empty: the platform's settings folder
        QString printFile;      // empty: the default printer; else a PDF of the print
        QString testMarker;     // empty: the usual place of the test-mode marker
    };

    TFormHlav(Port& port, Prompter& prompter, const Options& options, QWidget* parent = nullptr);
    ~TFormHlav() override;

    // The parameter file's name as LabelFile2 shows it, shortened there when it is long.
    void SetFileCaption(const QString& caption);
    const QString& FileCaption() const { return fileCaption_; }

    void FormCreate();
    void FormClose();
    void Timer1Timer();

    // Commands
    void MenuNewClick();
    void MenuReadClick();
    void MenuVerifyClick();
    void MenuProgramClick();
    void MenuCom1Click(int index);
    void MenuOpenClick();
    void MenuOpenExeDirClick();
    void MenuSaveClick();
    void MenuSaveExeDirClick();
    void MenuContensClick() {}
    void MenuAboutClick();
    void SpeedButtonPrintClick();
    void SetPrintLayout(bool normal);
    void SetPrintFile(const QString& pdf) { options_.printFile = pdf; }
    void MenuExitClick() { close(); }
    void MenuCzechClick() { SetLanguage(LangCzech); }
    void MenuEnglishClick() { SetLanguage(LangEnglish); }
    void MenuGermanClick() { SetLanguage(LangGerman); }

    // Editing operations
    void CommitControls();
    void ShowImage() override;
    void AfterChange();
    void UpdatePageFurniture();
    void StartHistory();
    void PushHistory();
    void SpeedButtonZpetClick();  // undo
    void SpeedButtonZnovuClick(); // redo

    // Value tools
    void MenuToolsMinusClick() { StepLiveOrAll(false); }
    void MenuToolsPlusClick() { StepLiveOrAll(true); }
    void CSpinButtonDownClick_Uni(int column);
    void CSpinButtonUpClick_Uni(int column);
    void ButtonTps0Click();
    void ButtonTps100Click();
    void CheckBoxProcentaMouseUp();
    void ApplyLimits() override;
    void ShowMessage(const QString& text) override;
    void ShowPortOpenError(const QString& text, const QString& path,
                           const PortOpenFailure& failure) override;
    void ApplyLanguage();
    void HighlightLiveCell();

    // Event handlers of the editing controls
    void Edit1Exit();
    void UpDown1Click();
    void CheckBoxProgHnedMouseUp();
    void RadioGroupPocPulsuClick(int index);
    void CheckBoxTpEnableMouseUp();
    void PageControl1Change();

    // Draws what the link reports; only controls whose state changed are touched.
    void Render();

    FormHlavUi ui;
    ParamImage image;
    AllCells allCells{};
    MessageTable messages;
    uint8_t LanguageIndex = LangCzech;
    bool TestEnable = false;
    QString LastFilePath; // the parameter file last opened or saved
    Link link;
    History history;
    bool HistoryArmed = false;
    QTimer Timer1;
    TFormAbout* FormAbout = nullptr;
    CompareTool* compare = nullptr; // Compare with unit or file (HlavCompare)
    HlavMaps* Maps = nullptr;       // the map windows and the map sheet
    HlavLog* DataLog = nullptr;     // the data log and chart (Log menu); a child of the window
    HlavRestore* Restore = nullptr; // restore points (Ignition menu); a child of the window

    // The cell the engine runs in on the servo page shown; F4 and F5 step it.
    uint8_t LiveRow = 0;
    uint8_t LiveColumn = 0;

    int ActivePage() const { return ui.PageControl1->currentIndex(); }
    bool Showing() const { return showing_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class CompareTool;
    friend class HlavMaps;
    friend class HlavRestore;
    void SetLanguage(int language);
    void MarkComItem(int index);
    void PlaceWindow(QPoint topLeft);
    bool IsImageUndoKey(const QKeyEvent* key) const;
    void StepLiveOrAll(bool up);
    void RestoreSnapshot(bool undo);
    void UpdateUndoControls();
    void ConnectHandlers();
    void LoadSettings();
    void SaveSettings();
    void ReadTestMarker();
    SettingsValues HeldSettings() const;
    void OpenFile(const QString& preset);
    void SaveFile(const QString& preset);
    void TookFile(const QString& path);
    void CentreWindow();
    void SetActivePage(int page);
    int ServoOfPage() const { return ActivePage() == kPageServo1 ? 0 : 1; }
    void InstallHintHandler();
    void HintToStatusBar(const QString& hint);
    QString InheritedHint(const QObject* from) const;
    QColor ShadeColor(Shade shade) const;
    void ColourLiveCell(int row, int column, bool lit);
    void KeepServoColumnsApart();
    void ResetLiveColours();
    bool PrintClientArea();
    void ShowFileError(const QString& path, const QString& systemText, bool damaged = false);
    void ShowStale(bool stale);
    void ShowSearchingPort(const LinkDisplay& d);

    Prompter& prompter_;
    Options options_;
    QString openPreset_; // what each file dialog opens with
    QString savePreset_;
    QString applicationIni_;
    QString defaultIni_;
    bool showing_ = false;
    QString fileCaption_; // LabelFile2 in full; the label may show it shortened
    ToolkitTranslation toolkitTexts_;
    int tickDepth_ = 0; // Timer1Timer calls under way (a box inside the tick nests them)
    bool pageByProgram_ = false;
    bool closed_ = false;
    LinkDisplay rendered_;
    bool renderedOnce_ = false;
    int litRow_ = -1;
    int litColumn_ = -1;
    QPalette editPalette_;
    QPalette greenEditPalette_;
    QPalette rowPalette_;
    QPalette greenRowPalette_;
    QPalette progHnedPalette_; // "Programming after change" as designed
    QPalette redProgHnedPalette_;
    bool progHnedRed_ = false;
    // While no unit answers, the monitor values are drawn grey (the live cell too) so that
    // nobody reads a frozen number as live.
    bool stale_ = false;
    QPalette greyEditPalette_;
    QPalette greyRowPalette_;
    QColor rpmBarColor_;
    QColor tpsBarColor_;
    QString searchShown_; // the port-search text the status bar shows when no hint does
};

} // namespace zyrk
