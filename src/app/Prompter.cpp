#include "Prompter.h"

#include "FormHlavUi.h"

#include <QFileInfo>
#include <QMessageBox>
#include <memory>

namespace zyrk {

void BoxPrompter::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

void BoxPrompter::MessageWithDetail(QWidget* parent, const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    // Informative, not the hidden "detailed" part: the reason is what the user needs to read.
    box.setInformativeText(detail);
    box.exec();
}

Prompter::Answer BoxPrompter::AskYesNoCancel(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default:
        return Cancel;
    }
}

Prompter::Answer BoxPrompter::AskYesNo(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QString(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Yes : No;
}

} // namespace zyrk

namespace zyrk {

namespace {
QString RunDialog(QFileDialog* made, const QString& preset) {
    std::unique_ptr<QFileDialog> dialog(made);
    if (!preset.isEmpty()) {
        const QFileInfo info(preset);
        dialog->setDirectory(info.absolutePath());
        dialog->selectFile(info.fileName());
    }
    dialog->selectNameFilter(dialog->nameFilters().first());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().first();
}
} // namespace

QString BoxPrompter::ChooseOpenFile(QWidget* parent, const QString& preset) {
    return RunDialog(MakeOpenDialog1(parent), preset);
}

QString BoxPrompter::ChooseSaveFile(QWidget* parent, const QString& preset) {
    return RunDialog(MakeSaveDialog1(parent), preset);
}

} // namespace zyrk
