#include "RestorePointsWindow.h"

#include "RestoreTexts.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace zyrk {

RestorePointsWindow::RestorePointsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("RestorePointsWindow"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("RestorePointList"));
    list_->setRootIsDecorated(false);
    list_->setColumnCount(5);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAllColumnsShowFocus(true);
    layout->addWidget(list_);
    auto* buttons = new QHBoxLayout;
    auto make = [&](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    compare_ = make("RestoreCompare");
    open_ = make("RestoreOpen");
    program_ = make("RestoreProgram");
    saveAs_ = make("RestoreSaveAs");
    delete_ = make("RestoreDelete");
    buttons->addStretch();
    layout->addLayout(buttons);
    connect(compare_, &QPushButton::clicked, this,
            [this] { Ask(&RestorePointsWindow::CompareRequested); });
    connect(open_, &QPushButton::clicked, this,
            [this] { Ask(&RestorePointsWindow::OpenRequested); });
    connect(program_, &QPushButton::clicked, this,
            [this] { Ask(&RestorePointsWindow::ProgramRequested); });
    connect(saveAs_, &QPushButton::clicked, this,
            [this] { Ask(&RestorePointsWindow::SaveAsRequested); });
    connect(delete_, &QPushButton::clicked, this,
            [this] { Ask(&RestorePointsWindow::DeleteRequested); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &RestorePointsWindow::UpdateButtons);
    resize(720, 360);
    ApplyLanguage(0);
}

void RestorePointsWindow::Ask(void (RestorePointsWindow::*signal)(const zyrk::RestorePoint&)) {
    if (const RestorePoint* p = Selected()) {
        const RestorePoint copy = *p; // the owner may fill the list again
        emit(this->*signal)(copy);
    }
}

QString RestorePointsWindow::KindText(const RestorePoint& point, int language) {
    switch (point.kind) {
    case RestoreKind::BeforeProgramming:
        return lang::RestoreKindBefore.In(language);
    case RestoreKind::Read:
        return lang::RestoreKindRead.In(language);
    case RestoreKind::Programmed:
        return lang::RestoreKindProgrammed.In(language);
    }
    return QString();
}

QString RestorePointsWindow::TimeText(const RestorePoint& point) {
    return point.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void RestorePointsWindow::SetPoints(std::vector<RestorePoint> points, int language) {
    points_ = std::move(points);
    language_ = language;
    Fill();
}

void RestorePointsWindow::ApplyLanguage(int language) {
    language_ = language;
    setWindowTitle(lang::MenuRestorePoints.In(language).remove(QChar(0x2026)));
    list_->setHeaderLabels(
        {lang::RestoreColumnTime.In(language), lang::RestoreColumnKind.In(language),
         lang::RestoreColumnUnit.In(language), lang::RestoreColumnCount.In(language),
         lang::RestoreColumnFile.In(language)});
    compare_->setText(lang::RestoreCompare.In(language));
    open_->setText(lang::RestoreOpen.In(language));
    program_->setText(lang::RestoreProgram.In(language));
    saveAs_->setText(lang::RestoreSaveAs.In(language));
    delete_->setText(lang::RestoreDelete.In(language));
    Fill();
}

void RestorePointsWindow::Fill() {
    const int row = list_->currentIndex().isValid() ? list_->currentIndex().row() : 0;
    list_->clear();
    for (const RestorePoint& p : points_) {
        const QString unit = (p.firmwareName + QLatin1Char(' ') + p.firmwareDate).trimmed();
        auto* item = new QTreeWidgetItem(
            list_, {TimeText(p), KindText(p, language_), unit,
                    p.programCount < 0 ? QString() : QString::number(p.programCount),
                    QFileInfo(p.loadedFile).fileName()});
        item->setToolTip(4, p.loadedFile);
    }
    for (int c = 0; c < list_->columnCount() - 1; ++c)
        list_->resizeColumnToContents(c);
    if (!points_.empty())
        Select(std::min(row, static_cast<int>(points_.size()) - 1));
    UpdateButtons();
}

void RestorePointsWindow::Select(int row) {
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) {
        list_->setCurrentItem(item);
        item->setSelected(true);
    }
}

const RestorePoint* RestorePointsWindow::Selected() const {
    const QList<QTreeWidgetItem*> items = list_->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const int row = list_->indexOfTopLevelItem(items.first());
    if (row < 0 || row >= static_cast<int>(points_.size()))
        return nullptr;
    return &points_[static_cast<size_t>(row)];
}

void RestorePointsWindow::UpdateButtons() {
    const bool any = Selected() != nullptr;
    for (QPushButton* b : {compare_, open_, program_, saveAs_, delete_})
        b->setEnabled(any);
}

} // namespace zyrk
