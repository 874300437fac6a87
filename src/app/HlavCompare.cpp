// The compare commands of the main window.
#include "HlavCompare.h"

#include "CompareTexts.h"
#include "DifferencesWindow.h"
#include "Hlav.h"
#include "Limits.h"
#include "ParameterFile.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace zyrk {

namespace {
constexpr int kPicturePx = 16;

// Two sheets side by side with a bar between them: this set against the unit's.
QIcon ComparePicture() {
    return DrawnIcon(kPicturePx, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(1, 2, 5, 11);
        p.drawRect(10, 2, 5, 11);
        p.setPen(OutlineLayer::kColour);
        p.drawLine(7, 6, 8, 6);
        p.drawLine(7, 9, 8, 9);
    });
}
} // namespace

CompareTool::CompareTool(TFormHlav& form) : QObject(&form), form_(form) {
    FormHlavUi& ui = form_.ui;
    MenuCompareUnit = ui.MenuDevice->addAction(QStringLiteral("Compare with unit"));
    MenuCompareUnit->setObjectName(QStringLiteral("MenuCompareUnit"));
    MenuCompareUnit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F8));
    MenuCompareFile = ui.MenuDevice->addAction(QStringLiteral("Compare with file…"));
    MenuCompareFile->setObjectName(QStringLiteral("MenuCompareFile"));
    connect(MenuCompareUnit, &QAction::triggered, this, &CompareTool::CompareWithUnit);
    connect(MenuCompareFile, &QAction::triggered, this, &CompareTool::CompareWithFile);
    SpeedButtonCompare = AddToolBar2Button(ui, ComparePicture(), QString());
    SpeedButtonCompare->setObjectName(QStringLiteral("SpeedButtonCompare"));
    connect(SpeedButtonCompare, &QToolButton::clicked, this, &CompareTool::CompareWithUnit);

    servoLayer_ = new OutlineLayer(ui.GroupBoxServo);
    miscLayer_ = new OutlineLayer(ui.TabSheet_Ruzne);
    form_.link.AddTransferObserver([this](const TransferEvent& e) { OnTransfer(e); });
}

void CompareTool::ApplyLanguage(int language) {
    MenuCompareUnit->setText(lang::MenuCompareUnit.In(language));
    MenuCompareFile->setText(lang::MenuCompareFile.In(language));
    SetHint(MenuCompareUnit, lang::HintCompareUnit.In(language), false);
    SetHint(MenuCompareFile, lang::HintCompareFile.In(language), false);
    SetHint(SpeedButtonCompare, lang::HintCompareUnit.In(language), true);
    if (window_)
        window_->ApplyLanguage(language);
}

void CompareTool::SetPrinting(bool printing) {
    servoLayer_->SetSuppressed(printing);
    miscLayer_->SetSuppressed(printing);
}

void CompareTool::CompareWithUnit() {
    // The image is compared as it stands: taking typed values in would change it outside
    // the editing step that records every change.
    ClearOutlines();
    form_.link.StartReadAside();
    form_.Render();
}

void CompareTool::CompareWithFile() {
    const QString path = form_.prompter_.ChooseOpenFile(&form_, form_.openPreset_);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        form_.ShowMessage(form_.messages[MsgOpenFileError]);
        return;
    }
    // Read as Open reads it: records the file lacks keep the tool's values, so they do not
    // count as differences; the axes are brought into shape as opening the file would.
    ParamImage other = form_.image;
    switch (ReadParameterFile(file.readAll(), other)) {
    case FileRead::Ok:
        break;
    case FileRead::NoHeader:
        form_.ShowMessage(form_.messages[MsgUnmatchedFileVersion]);
        return;
    case FileRead::Damaged:
        form_.ShowMessage(form_.messages[MsgOpenFileError]);
        return;
    }
    ApplyAxisLimits(other);
    Present(Differences(form_.image, other), QFileInfo(path).fileName());
}

void CompareTool::CompareWithImage(const ParamImage& other, const QString& name) {
    Present(Differences(form_.image, other), name);
}

void CompareTool::OnTransfer(const TransferEvent& event) {
    if (event.kind == TransferEvent::Kind::Done && event.aside && !event.beforeWrite) {
        Present(Differences(form_.image, form_.link.AsideImage()), QString());
    } else if (event.kind == TransferEvent::Kind::Failed) {
        // The red text stays as it is; the status bar says where to look.
        form_.ui.StatusBar1->showMessage(form_.link.Display().statusText + QStringLiteral("  ") +
                                         lang::BlockContents(event.block, form_.LanguageIndex));
    }
}

void CompareTool::Present(std::vector<Difference> differences, const QString& fileName) {
    differences_ = std::move(differences);
    compared_ = form_.image;
    outlining_ = !differences_.empty();
    emit OutlinesChanged();
    if (!window_)
        window_ = new DifferencesWindow(&form_);
    window_->SetDifferences(differences_, fileName, form_.LanguageIndex);
    window_->show();
    window_->raise();
    Refresh();
}

void CompareTool::ClearOutlines() {
    const bool was = outlining_;
    outlining_ = false;
    servoLayer_->SetTargets({});
    miscLayer_->SetTargets({});
    if (was)
        emit OutlinesChanged();
}

QWidget* CompareTool::FieldWidget(const Difference& d) const {
    const FormHlavUi& ui = form_.ui;
    switch (d.field) {
    case DiffField::Tps0:
        return ui.EditTps0;
    case DiffField::Tps100:
        return ui.EditTps100;
    case DiffField::Pulses:
        return ui.RadioGroupPocPulsu;
    case DiffField::ServoEnable:
        return ui.CheckBoxServoEnable;
    case DiffField::TpEnable:
        return ui.CheckBoxTpEnable;
    case DiffField::Procenta:
        return ui.CheckBoxProcenta;
    case DiffField::HysterMv:
        return ui.EditHysterMv;
    case DiffField::HysterRpm:
        return ui.EditHysterRpm;
    case DiffField::HysterOff:
        return ui.EditHysterOff;
    case DiffField::Rpm:
        return ui.EditMapRpm[static_cast<size_t>(d.column)];
    case DiffField::Cell:
        return ui.EditMap[static_cast<size_t>(d.row)][static_cast<size_t>(d.column)];
    }
    return nullptr;
}

void CompareTool::Refresh() {
    if (!outlining_)
        return;
    // Any change of a setting ends the outlines (the unit's version block, which Program
    // takes in, is no setting).
    if (!Differences(compared_, form_.image).empty()) {
        ClearOutlines();
        return;
    }
    const int page = form_.ActivePage();
    QList<QWidget*> servo;
    QList<QWidget*> misc;
    for (const Difference& d : differences_) {
        if (d.page == kDiffPageMisc)
            misc << FieldWidget(d);
        else if (d.page == page)
            servo << FieldWidget(d);
    }
    miscLayer_->SetTargets(misc);
    servoLayer_->SetTargets(servo);
}

} // namespace zyrk
