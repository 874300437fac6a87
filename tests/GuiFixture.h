#pragma once

#include "Hlav.h"
#include "SimPort.h"
#include "SimUnit.h"

#include <QLocale>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace zyrk {

// Answers message boxes without showing them and remembers what they said.
class FakePrompter : public Prompter {
  public:
    void Message(QWidget*, const QString& text) override {
        messages << text;
        if (whileShown)
            whileShown();
    }
    void MessageWithDetail(QWidget*, const QString& text, const QString& detail) override {
        messages << text;
        details << detail;
        if (whileShown)
            whileShown();
    }
    Answer AskYesNoCancel(QWidget*, const QString& text) override {
        questions << text;
        return answer;
    }
    QString ChooseOpenFile(QWidget*, const QString& preset) override {
        presets << preset;
        return chosen;
    }
    QString ChooseSaveFile(QWidget*, const QString& preset) override {
        presets << preset;
        return chosen;
    }
    QStringList messages;
    QStringList details; // the detail of each message that had one
    QStringList questions;
    Answer answer = Yes;
    QString chosen;                   // the path the file dialogs return; empty: cancelled
    QStringList presets;              // what each file dialog was opened with
    std::function<void()> whileShown; // runs while a message box "stands"
};

// A main window on the in-process simulated unit, with its own settings folder and the
// tick driven by the test.
struct Gui {
    QTemporaryDir settings;
    SimUnit unit;
    SimPort port{unit};
    FakePrompter prompter;
    std::unique_ptr<TFormHlav> form;

    // The settings live in a folder of the test's own: a fresh one unless one is given, so
    // that a second window can start from what the first one stored.
    explicit Gui(const QStringList& arguments = {QStringLiteral("ENGLISH")},
                 const QString& folder = QString(), const QString& marker = QString(),
                 bool runTimer = false) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TFormHlav::Options options;
        options.arguments = arguments;
        options.runTimer = runTimer;
        options.settingsFolder = folder.isEmpty() ? settings.path() : folder;
        options.testMarker =
            marker.isEmpty() ? settings.filePath(QStringLiteral("no-marker.txt")) : marker;
        form = std::make_unique<TFormHlav>(port, prompter, options);
        form->FormCreate();
    }
    FormHlavUi& ui() { return form->ui; }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            form->Timer1Timer();
    }
    void ShowPage(int page) { ui().PageControl1->setCurrentIndex(page); }
};

} // namespace zyrk
