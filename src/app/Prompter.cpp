#include "Prompter.h"

#include <QMessageBox>

namespace zyrk {

void BoxPrompter::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
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

} // namespace zyrk
