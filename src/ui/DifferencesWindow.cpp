#include "DifferencesWindow.h"

#include "CompareTexts.h"
#include "LanguageTexts.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QVBoxLayout>

namespace zyrk {

namespace {
constexpr int kWindowWidth = 520;
constexpr int kWindowHeight = 420;
constexpr int kFieldColumnWidth = 220;
constexpr int kOutlinePx = 2;
} // namespace

DifferencesWindow::DifferencesWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FormDifferences"));
    resize(kWindowWidth, kWindowHeight);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    tree_ = new QTreeWidget(this);
    tree_->setColumnCount(3);
    tree_->setRootIsDecorated(false);
    tree_->setColumnWidth(0, kFieldColumnWidth);
    tree_->header()->setStretchLastSection(true);
    layout->addWidget(summary_);
    layout->addWidget(tree_);
}

void DifferencesWindow::SetDifferences(std::vector<Difference> differences, const QString& fileName,
                                       int language) {
    differences_ = std::move(differences);
    fileName_ = fileName;
    language_ = language;
    Fill();
}

void DifferencesWindow::ApplyLanguage(int language) {
    language_ = language;
    Fill();
}

void DifferencesWindow::Fill() {
    const int l = language_;
    setWindowTitle(lang::DifferencesCaption.In(l));
    tree_->setHeaderLabels(
        {lang::ColumnField.In(l), lang::ColumnTool.In(l),
         fileName_.isEmpty() ? lang::ColumnUnit.In(l) : lang::ColumnFile.In(l).arg(fileName_)});
    summary_->setText(differences_.empty() ? lang::NoDifferences.In(l)
                                           : lang::DifferencesCount.In(l).arg(differences_.size()));
    tree_->clear();
    QTreeWidgetItem* group = nullptr;
    int page = -1;
    for (const Difference& d : differences_) {
        if (d.page != page || !group) {
            page = d.page;
            group = new QTreeWidgetItem(tree_, {DiffPageName(page, l)});
            group->setFirstColumnSpanned(true);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
        }
        // The pulses show as the radio group's item texts, as the page shows them.
        auto value = [&](int v, DiffUnit unit) {
            return d.field == DiffField::Pulses ? lang::PulsesItem(v, l)
                                                : DiffValueText(v, unit, l);
        };
        new QTreeWidgetItem(group, {QStringLiteral("    ") + DiffFieldName(d, l),
                                    value(d.ours, d.oursUnit), value(d.theirs, d.theirsUnit)});
    }
    tree_->expandAll();
}

const QColor OutlineLayer::kColour(255, 0, 255); // magenta: neither the live green nor red

OutlineLayer::OutlineLayer(QWidget* page) : QWidget(page) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(page->rect());
    page->installEventFilter(this);
    raise();
    hide();
}

void OutlineLayer::SetTargets(const QList<QWidget*>& targets) {
    QList<QPointer<QWidget>> next(targets.begin(), targets.end());
    if (next == targets_)
        return;
    targets_ = next;
    setVisible(!targets_.isEmpty() && !suppressed_);
    raise(); // above anything added to the page since
    update();
}

void OutlineLayer::SetSuppressed(bool suppressed) {
    suppressed_ = suppressed;
    setVisible(!targets_.isEmpty() && !suppressed_);
}

QList<QWidget*> OutlineLayer::Targets() const {
    QList<QWidget*> out;
    for (const QPointer<QWidget>& t : targets_) {
        if (t)
            out << t.data();
    }
    return out;
}

bool OutlineLayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void OutlineLayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(kColour, kOutlinePx));
    painter.setBrush(Qt::NoBrush);
    for (const QPointer<QWidget>& t : targets_) {
        // Hidden map rows (TP Enable clear) keep their values but show no outline.
        if (!t || !t->isVisibleTo(parentWidget()))
            continue;
        const QRect r(t->mapTo(parentWidget(), QPoint(0, 0)), t->size());
        painter.drawRect(r.adjusted(-1, -1, 0, 0));
    }
}

} // namespace zyrk
