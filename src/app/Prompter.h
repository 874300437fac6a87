#pragma once

#include <QString>

class QWidget;

namespace zyrk {

// Message boxes, behind an interface so that tests can answer them. A box runs a nested
// event loop in which the 55 ms tick keeps firing: Timer1 itself for a box that a command
// shows, and for a box shown from inside the tick (where Timer1 cannot fire again until its
// slot returns) a timer that the window starts for as long as the box stands.
class Prompter {
  public:
    enum Answer { Yes, No, Cancel };
    virtual ~Prompter() = default;
    virtual void Message(QWidget* parent, const QString& text) = 0;
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
    // A question with Yes and No only; a box closed otherwise answers No.
    virtual Answer AskYesNo(QWidget* parent, const QString& text) {
        const Answer a = AskYesNoCancel(parent, text);
        return a == Yes ? Yes : No;
    }
    // A message with a detail under it (the device or file and the reason of a failure);
    // the message keeps its exact words.
    virtual void MessageWithDetail(QWidget* parent, const QString& text, const QString& detail) {
        Message(parent, detail.isEmpty() ? text : text + QLatin1Char('\n') + detail);
    }
    // The file dialogs: the chosen full path, or an empty text when the user cancelled.
    // The preset gives the folder and name the dialog opens with.
    virtual QString ChooseOpenFile(QWidget* parent, const QString& preset) = 0;
    virtual QString ChooseSaveFile(QWidget* parent, const QString& preset) = 0;
};

class BoxPrompter : public Prompter {
  public:
    void Message(QWidget* parent, const QString& text) override;
    void MessageWithDetail(QWidget* parent, const QString& text, const QString& detail) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
    Answer AskYesNo(QWidget* parent, const QString& text) override;
    QString ChooseOpenFile(QWidget* parent, const QString& preset) override;
    QString ChooseSaveFile(QWidget* parent, const QString& preset) override;
};

} // namespace zyrk
