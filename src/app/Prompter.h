#pragma once

#include <QString>

class QWidget;

namespace zyrk {

// Message boxes, behind an interface so that tests can answer them. A box runs a nested
// event loop in which the 55 ms tick keeps firing.
class Prompter {
  public:
    enum Answer { Yes, No, Cancel };
    virtual ~Prompter() = default;
    virtual void Message(QWidget* parent, const QString& text) = 0;
    virtual Answer AskYesNoCancel(QWidget* parent, const QString& text) = 0;
};

class BoxPrompter : public Prompter {
  public:
    void Message(QWidget* parent, const QString& text) override;
    Answer AskYesNoCancel(QWidget* parent, const QString& text) override;
};

} // namespace zyrk
