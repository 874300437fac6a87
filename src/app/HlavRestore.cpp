// Restore points in the main window.
#include "HlavRestore.h"

#include "FileWrite.h"
#include "Hlav.h"
#include "HlavCompare.h"
#include "IniStore.h"
#include "Limits.h"
#include "RestorePointsWindow.h"
#include "RestoreTexts.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace zyrk {

namespace {
constexpr int kRestorePicturePx = 16;
const QString kRestoreSection = QStringLiteral("RESTORE_POINTS");

// A sheet with a turning arrow: what was there, brought back.
QIcon RestorePicture() {
    return DrawnIcon(kRestorePicturePx, [](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(5, 1, 9, 12);
        p.setPen(QPen(QColor(0, 110, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(1, 6, 8, 8, 90 * 16, 270 * 16);
        p.drawLine(5, 6, 7, 4);
        p.drawLine(5, 6, 7, 8);
    });
}
} // namespace

HlavRestore::HlavRestore(TFormHlav& form, const QString& applicationIni)
    : QObject(&form), form_(form), applicationIni_(applicationIni),
      store_(RestorePointStore::FolderIn(QFileInfo(applicationIni).absolutePath())) {
    FormHlavUi& ui = form_.ui;
    MenuRestorePoints = ui.MenuDevice->addAction(QStringLiteral("Restore points…"));
    MenuRestorePoints->setObjectName(QStringLiteral("MenuRestorePoints"));
    connect(MenuRestorePoints, &QAction::triggered, this, &HlavRestore::ShowWindow);
    SpeedButtonRestore = AddToolBar2Button(ui, RestorePicture(), QString());
    SpeedButtonRestore->setObjectName(QStringLiteral("SpeedButtonRestore"));
    connect(SpeedButtonRestore, &QToolButton::clicked, this, &HlavRestore::ShowWindow);

    Link::FirstWriteGuard guard;
    guard.keep = [this](const ParamImage& unit, QString* why) {
        if (Keep(RestoreKind::BeforeProgramming, unit, false, why))
            return true;
        *why = lang::RestoreNotKept.In(form_.LanguageIndex).arg(*why);
        return false;
    };
    guard.programWithout = [this](const QString& why) {
        form_.Render(); // the status says why before the box asks
        return form_.prompter_.AskYesNo(&form_,
                                        lang::AskProgramWithout.In(form_.LanguageIndex).arg(why)) ==
               Prompter::Yes;
    };
    form_.link.SetFirstWriteGuard(std::move(guard));
    form_.link.AddTransferObserver([this](const TransferEvent& e) { OnTransfer(e); });
}

void HlavRestore::ApplyLanguage(int language) {
    MenuRestorePoints->setText(lang::MenuRestorePoints.In(language));
    SetHint(MenuRestorePoints, lang::HintRestorePoints.In(language), false);
    SetHint(SpeedButtonRestore, lang::HintRestorePoints.In(language), true);
    if (window_)
        window_->ApplyLanguage(language);
}

bool HlavRestore::Keep(RestoreKind kind, const ParamImage& image, bool afterChange, QString* why) {
    RestorePoint meta;
    meta.kind = kind;
    meta.afterChange = afterChange;
    meta.program = QStringLiteral("zyrk");
    const MonitorSample& sample = form_.link.LastSample();
    meta.programCount = sample.timeMs != 0 ? sample.programCount : -1;
    const UnitTexts texts = BuildUnitTexts(image);
    meta.firmwareName = texts.name.trimmed();
    meta.firmwareDate = texts.date.trimmed();
    meta.loadedFile = form_.LastFilePath;
    const bool kept = store_.Keep(image, meta, why);
    if (kept)
        Refill();
    return kept;
}

void HlavRestore::OnTransfer(const TransferEvent& event) {
    using Kind = TransferEvent::Kind;
    if (event.aside)
        return; // compares and the read before the first write (kept through the guard)
    if (event.kind == Kind::Block && event.block == kBlockCount - 1) {
        if (event.mode == ModeRead)
            pending_ = Pending::Read;
        else if (event.mode == ModeProgram)
            pending_ = Pending::Programmed;
        return;
    }
    if (event.kind == Kind::Failed || event.kind == Kind::Version) {
        pending_ = Pending::None;
        return;
    }
    if (event.kind != Kind::Done || pending_ == Pending::None)
        return;
    const bool programmed = pending_ == Pending::Programmed;
    pending_ = Pending::None;
    QString why;
    // What was read or written is in the edited image now; a failure does not undo the
    // transfer, it is said in the status bar.
    if (!Keep(programmed ? RestoreKind::Programmed : RestoreKind::Read, form_.image,
              programmed && form_.ui.CheckBoxProgHned->isChecked(), &why))
        form_.ui.StatusBar1->showMessage(lang::RestoreNotKept.In(form_.LanguageIndex).arg(why));
}

void HlavRestore::ShowWindow() {
    if (!window_) {
        window_ = new RestorePointsWindow(&form_);
        window_->ApplyLanguage(form_.LanguageIndex);
        connect(window_, &RestorePointsWindow::CompareRequested, this, &HlavRestore::Compare);
        connect(window_, &RestorePointsWindow::OpenRequested, this,
                [this](const RestorePoint& p) { Open(p); });
        connect(window_, &RestorePointsWindow::ProgramRequested, this, &HlavRestore::Program);
        connect(window_, &RestorePointsWindow::SaveAsRequested, this, &HlavRestore::SaveAs);
        connect(window_, &RestorePointsWindow::DeleteRequested, this, &HlavRestore::Delete);
        const IniStore ini(applicationIni_);
        constexpr int kMissing = -100000;
        const QRect place(ini.ReadInt(kRestoreSection, QStringLiteral("Left"), kMissing),
                          ini.ReadInt(kRestoreSection, QStringLiteral("Top"), kMissing),
                          ini.ReadInt(kRestoreSection, QStringLiteral("Width"), kMissing),
                          ini.ReadInt(kRestoreSection, QStringLiteral("Height"), kMissing));
        bool onScreen = false;
        for (const QScreen* screen : QGuiApplication::screens())
            onScreen = onScreen || screen->availableGeometry().intersects(place);
        if (place.left() != kMissing && place.width() > 100 && place.height() > 60 && onScreen) {
            window_->resize(place.size());
            window_->move(place.topLeft());
        }
        window_->installEventFilter(this);
    }
    Refill();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void HlavRestore::Refill() {
    if (window_)
        window_->SetPoints(store_.List(), form_.LanguageIndex);
}

void HlavRestore::Compare(const RestorePoint& point) {
    ParamImage other = form_.image;
    QString why;
    if (!store_.Load(point, other, &why)) {
        form_.ShowFileError(store_.PathOf(point), why, true);
        return;
    }
    ApplyAxisLimits(other);
    form_.compare->CompareWithImage(other, lang::RestoreCompareCaption.In(form_.LanguageIndex)
                                               .arg(RestorePointsWindow::TimeText(point)));
}

bool HlavRestore::Open(const RestorePoint& point) {
    ParamImage loaded = form_.image;
    QString why;
    if (!store_.Load(point, loaded, &why)) {
        form_.ShowFileError(store_.PathOf(point), why, true);
        return false;
    }
    form_.CommitControls();
    form_.image = loaded;
    form_.AfterChange(); // one editing step: Undo brings back what was there
    form_.SetFileCaption(QString());
    form_.Render();
    return true;
}

void HlavRestore::Program(const RestorePoint& point) {
    if (Open(point))
        form_.MenuProgramClick();
}

void HlavRestore::SaveAs(const RestorePoint& point) {
    const QString path = form_.prompter_.ChooseSaveFile(window_, form_.savePreset_);
    if (path.isEmpty())
        return;
    QFile file(store_.PathOf(point));
    QString why;
    if (!file.open(QIODevice::ReadOnly)) {
        form_.ShowFileError(store_.PathOf(point), file.errorString());
        return;
    }
    if (!ReplaceFile(path, file.readAll(), &why))
        form_.ShowFileError(path, why);
}

void HlavRestore::Delete(const RestorePoint& point) {
    const QString text =
        lang::AskDeleteRestore.In(form_.LanguageIndex).arg(RestorePointsWindow::TimeText(point));
    if (form_.prompter_.AskYesNo(window_, text) != Prompter::Yes)
        return;
    QString why;
    if (!store_.Remove(point, &why))
        form_.ShowFileError(store_.PathOf(point), why);
    Refill();
}

bool HlavRestore::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Close)
        StorePlace();
    return QObject::eventFilter(watched, event);
}

void HlavRestore::StorePlace() {
    IniStore ini(applicationIni_);
    ini.WriteInt(kRestoreSection, QStringLiteral("Left"), window_->pos().x());
    ini.WriteInt(kRestoreSection, QStringLiteral("Top"), window_->pos().y());
    ini.WriteInt(kRestoreSection, QStringLiteral("Width"), window_->width());
    ini.WriteInt(kRestoreSection, QStringLiteral("Height"), window_->height());
}

void HlavRestore::Close() {
    if (window_ && window_->isVisible())
        window_->close();
}

} // namespace zyrk
