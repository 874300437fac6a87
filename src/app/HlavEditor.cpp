// The main window's editing operations: the binding of the controls to the image, the undo
// history with programming after change, and the value tools.
#include "Hlav.h"
#include "HlavCompare.h"
#include "HlavDetail.h"
#include "HlavMaps.h"
#include "Limits.h"
#include "ValueTools.h"

#include <QLayout>

namespace zyrk {

using namespace detail;

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
    const int divisor = image.InPercent(s) ? 1 : kMvPerMapUnit;
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
        ui.CheckBoxProcenta->setChecked(image.InPercent(s));
        const int factor = image.InPercent(s) ? 1 : kMvPerMapUnit;
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
    if (Maps)
        Maps->Refresh();
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
    const bool percent = image.InPercent(ActivePage() == kPageServo1 ? 0 : 1);
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
    // 5. A ticked "program after change" is shown all in red as a warning, its tick box
    // left white to be read; unticked it is exactly as designed. The palette is set only when
    // the state changes.
    const bool warn = ui.CheckBoxProgHned->isChecked();
    if (warn != progHnedRed_) {
        progHnedRed_ = warn;
        ui.CheckBoxProgHned->setPalette(warn ? redProgHnedPalette_ : progHnedPalette_);
    }
    // 6. The outlines of the last comparison.
    if (compare)
        compare->Refresh();
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
    if (compare)
        compare->Refresh(); // a pick of the pulses changes the image without showing it
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
    StepMap(image, ServoOfPage(), target, LiveRow, LiveColumn, up);
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

} // namespace zyrk
