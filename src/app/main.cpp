#include "About.h"
#include "Hlav.h"
#include "SerialPort.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    zyrk::SerialPort port;
    zyrk::BoxPrompter prompter;
    zyrk::TFormHlav::Options options;
    options.arguments = app.arguments().mid(1);

    // The main window first, then the About window, as the tool has always started.
    zyrk::TFormHlav form(port, prompter, options);
    form.FormCreate();
    form.FormAbout = new zyrk::TFormAbout(form.LanguageIndex, &form);
    form.show();
    app.exec();
    return 0;
}
