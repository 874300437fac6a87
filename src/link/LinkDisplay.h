#pragma once

#include <QString>
#include <array>

namespace zyrk {

// Background colours the link asks for; the window maps them to real colours.
enum class Shade : uint8_t { ButtonFace, Red, Yellow };

// What the link wants the user to see. The link never touches a widget: it fills this
// model and the window draws it after each tick or command.
struct LinkDisplay {
    // Status label LabelHlaseni and progress gauge CGaugeProgram.
    QString statusText;
    Shade statusShade = Shade::ButtonFace;
    bool statusVisible = false;
    int gaugeMax = 7;
    int gaugeProgress = 0;
    bool gaugeVisible = false;

    bool connectionVisible = false; // LabelSpojeni: no unit answers
    bool versionVisible = false;    // LabelVersion
    QString versionText;
    bool eeDataErrVisible = false; // LabelEeDataErr

    // Monitor area, with the texts the window is designed with until a reply arrives.
    QString rpmText = QStringLiteral("RPM = ---");
    int rpmGauge = 0;
    QString tpsText = QStringLiteral("TP= --- [%]");
    Shade tpsShade = Shade::ButtonFace;
    int tpsGauge = 0;
    QString napetiText = QStringLiteral("U = ---[V]");
    Shade napetiShade = Shade::ButtonFace;
    std::array<QString, 2> servoPozText = {QStringLiteral("Servo 1 Required= ---"),
                                           QStringLiteral("Servo 2 Required= ---")};
    std::array<QString, 2> servoMerText = {QStringLiteral("Servo 1 Measured= ---"),
                                           QStringLiteral("Servo 2 Measured= ---")};
    std::array<Shade, 2> servoShade = {Shade::ButtonFace, Shade::ButtonFace};
    QString programCountText = QStringLiteral("Number of Programing: -----");
    std::array<QString, 8> testText = {
        QStringLiteral("Test1 = ---"), QStringLiteral("Test2 = ---"), QStringLiteral("Test3 = ---"),
        QStringLiteral("Test4 = ---"), QStringLiteral("Test5 = ---"), QStringLiteral("Test6 = ---"),
        QStringLiteral("Test7 = ---"), QStringLiteral("Test8 = ---")};

    QString comText = QStringLiteral("COM = --"); // LabelCom
    int comChecked = -1;                          // the Com menu item with the check mark

    // The port the automatic search opened last (1..21, 0 when a port was chosen by hand)
    // and its device path; the window names it while no unit answers.
    int searchPort = 0;
    QString searchPath;
};

} // namespace zyrk
