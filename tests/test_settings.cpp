#include "FileSizeLimit.h"
#include "GuiFixture.h"
#include "IniStore.h"
#include "Settings.h"

#include <QFile>
#include <QTest>

using namespace zyrk;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

  private slots:
    void defaultIniLayout();
    void readDefaultIni_data();
    void readDefaultIni();
    void portAndLanguageKeys_data();
    void portAndLanguageKeys();
    void testMarker_data();
    void testMarker();
    void firstRunThenRestart();
    void commandLineLanguageIsStored();
    void markerShowsTestLabels();
    void saveThenOpen();
    void openFailures_data();
    void openFailures();
    void openProgramsAfterChange();
    void exeDirClearsPresets();
#ifdef Q_OS_UNIX
    void fullDiskKeepsUserFiles_data();
    void fullDiskKeepsUserFiles();
#endif
};

void TestSettings::defaultIniLayout() {
    ParamImage image;
    for (int i = 0; i < kImageSize; ++i)
        image.Set(i, static_cast<uint8_t>(i * 7));
    const QByteArray text = DefaultIniText(image, AllCells{0, 1});
    QCOMPARE(text.size(), 2508);
    const QList<QByteArray> lines = text.split('\n');
    QCOMPARE(lines.size(), 49);
    QCOMPARE(text.count("\r\n"), 48);
    QCOMPARE(lines[0],
             QByteArray("    0     7    14    21    28    35    42    49    56    63 \r"));
    QCOMPARE(lines[5], QByteArray("\r"));
    QVERIFY(lines[6].startsWith(QByteArray("   94 "))); // byte 50
    QCOMPARE(lines[48], QByteArray("    0     1 "));
    ParamImage back;
    AllCells cells{};
    QCOMPARE(ReadDefaultIni(text, back, cells), 402);
    QCOMPARE(back.Data(), image.Data());
    QCOMPARE(cells, (AllCells{0, 1}));
}

void TestSettings::readDefaultIni_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("byte0");
    QTest::addColumn<int>("byte3");
    QTest::newRow("three numbers") << QByteArray("1 2 3") << 3 << 1 << 0xA5;
    QTest::newRow("modulo 256") << QByteArray("257\r\n 99999 7 300") << 4 << 1 << 44;
    QTest::newRow("a word stops the reading") << QByteArray("5 6 x 7 8") << 2 << 5 << 0xA5;
    QTest::newRow("empty file") << QByteArray() << 0 << 0xA5 << 0xA5;
    QTest::newRow("byte-order mark before the numbers") << QByteArray("\xEF\xBB\xBF"
                                                                      "1 2 3")
                                                        << 3 << 1 << 0xA5;
}

void TestSettings::readDefaultIni() {
    QFETCH(QByteArray, text);
    ParamImage image;
    for (int i = 0; i < kImageSize; ++i)
        image.Set(i, 0xA5);
    AllCells cells{9, 9};
    QTEST(ReadDefaultIni(text, image, cells), "count");
    QTEST(int(image.At(0)), "byte0");
    QTEST(int(image.At(3)), "byte3");
    QCOMPARE(int(image.At(399)), 0xA5);
    QCOMPARE(cells, (AllCells{9, 9}));
}

void TestSettings::portAndLanguageKeys_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("com");
    QTest::addColumn<int>("scan");
    QTest::addColumn<int>("language");
    QTest::newRow("no keys: automatic search, Czech") << QByteArray() << 20 << 0 << 0;
    QTest::newRow("ComPort 21 is the search")
        << QByteArray("[FORM_HLAV]\r\nComPort=21\r\nLanguage=1\r\n") << 20 << 0 << 1;
    QTest::newRow("ComPort 1 is COM1, search at COM5")
        << QByteArray("[form_hlav]\r\ncomport=1\r\n[BASIC]\r\nComPortAuto=5\r\n") << 0 << 4 << 0;
    QTest::newRow("not a number keeps the value")
        << QByteArray("[FORM_HLAV]\r\nComPort=abc\r\nLanguage=x\r\n") << 20 << 0 << 0;
}

void TestSettings::portAndLanguageKeys() {
    QFETCH(QByteArray, ini);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("application.ini"));
    if (!ini.isEmpty())
        WriteAll(path, ini);
    SettingsValues v;
    ReadApplicationIni(IniStore(path), v);
    QTEST(int(v.comIndex), "com");
    QTEST(int(v.autoScanIndex), "scan");
    QTEST(int(v.languageIndex), "language");
}

void TestSettings::testMarker_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("on");
    QTest::newRow("among other words") << QByteArray("mode\r\n DIAG_SWITCH  x") << true;
    QTest::newRow("lower case") << QByteArray("diag_switch") << false;
    QTest::newRow("part of a word") << QByteArray("DIAG_SWITCHES") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestSettings::testMarker() {
    QFETCH(QByteArray, text);
    QTEST(TestMarkerOn(text), "on");
}

void TestSettings::firstRunThenRestart() {
    QTemporaryDir dir;
    ParamImage stored;
    {
        Gui gui({}, dir.path());
        // The first start: factory values, Czech, automatic search, page 0, no file.
        QCOMPARE(int(gui.form->image.Tps100()), 197);
        QCOMPARE(int(gui.form->LanguageIndex), 0);
        QCOMPARE(int(gui.form->link.ComIndex), 20);
        QCOMPARE(gui.form->ActivePage(), 0);
        QVERIFY(gui.ui().LabelFile2->text().isEmpty());
        gui.form->image.Set(0, 'Q');   // block 0 as read from a unit
        gui.form->image.Set(62, 0x3C); // a reserved byte
        gui.form->image.SetCell(1, 9, 14, 201);
        gui.form->allCells = {1, 0};
        gui.ShowPage(kPageServo2);
        gui.form->close();
        stored = gui.form->image;
    }
    QCOMPARE(ReadAll(dir.filePath(QStringLiteral("default.ini"))).size(), 2508);
    const QByteArray ini = ReadAll(dir.filePath(QStringLiteral("application.ini")));
    QVERIFY(ini.contains("PageControl1->ActivePageIndex=2\r\n"));
    QVERIFY(ini.contains("ComPort=21\r\n"));

    Gui again({}, dir.path());
    QCOMPARE(again.form->image.Data(), stored.Data());
    QCOMPARE(again.form->allCells, (AllCells{1, 0}));
    QCOMPARE(again.form->ActivePage(), int(kPageServo2));
    QCOMPARE(again.ui().EditMap[9][14]->text(), QStringLiteral("4,020"));
}

void TestSettings::commandLineLanguageIsStored() {
    QTemporaryDir dir;
    WriteAll(dir.filePath(QStringLiteral("application.ini")), "[FORM_HLAV]\r\nLanguage=1\r\n");
    {
        Gui gui({QStringLiteral("DEUTSCH")}, dir.path());
        QCOMPARE(int(gui.form->LanguageIndex), 2);
        QCOMPARE(gui.ui().MenuFile->title(), QStringLiteral("&Datei"));
        gui.form->close();
    }
    QVERIFY(ReadAll(dir.filePath(QStringLiteral("application.ini"))).contains("Language=2\r\n"));
    Gui lower({QStringLiteral("deutsch")}, dir.path());
    QCOMPARE(int(lower.form->LanguageIndex), 2); // stored, not from the lower-case word
}

void TestSettings::markerShowsTestLabels() {
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("marker.txt"));
    WriteAll(marker, "DIAG_SWITCH");
    Gui on({}, QString(), marker);
    QVERIFY(on.form->TestEnable);
    QVERIFY(on.ui().LabelTest[7]->isVisibleTo(on.form.get()));
    Gui off;
    QVERIFY(!off.form->TestEnable);
    QVERIFY(!off.ui().LabelTest[0]->isVisibleTo(off.form.get()));
}

void TestSettings::saveThenOpen() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bike.ign"));
    Gui gui;
    gui.ShowPage(kPageServo2);
    QLineEdit* cell = gui.ui().EditMap[0][0];
    cell->setText(QStringLiteral("3000")); // typed, not yet committed: the save takes it
    gui.prompter.chosen = path;
    gui.form->MenuSaveClick();
    QCOMPARE(ReadAll(path).size(), 2591);
    QCOMPARE(int(gui.form->image.Cell(1, 0, 0)), 150);
    QCOMPARE(gui.ui().LabelFile2->text(), QDir::toNativeSeparators(path));
    QCOMPARE(gui.form->LastFilePath, QDir::toNativeSeparators(path));
    QVERIFY(!gui.ui().SpeedButtonZpet->isEnabled()); // a save records no undo step
    QCOMPARE(int(gui.form->link.LinkMode), int(ModeMonitor));

    gui.form->image.SetCell(1, 0, 0, 7);
    gui.form->image.Set(0, 'X'); // block 0 is not in the file
    gui.form->ShowImage();
    gui.form->MenuOpenClick();
    QCOMPARE(gui.prompter.presets.last(), QDir::toNativeSeparators(path));
    QCOMPARE(int(gui.form->image.Cell(1, 0, 0)), 150);
    QCOMPARE(int(gui.form->image.At(0)), int('X'));
    QCOMPARE(gui.form->ActivePage(), int(kPageServo2));
    QCOMPARE(cell->text(), QStringLiteral("3,000"));
    QVERIFY(gui.ui().SpeedButtonZpet->isEnabled());
    gui.form->SpeedButtonZpetClick(); // one step back is the last image recorded before
    QCOMPARE(int(gui.form->image.Cell(1, 0, 0)), 100);
    gui.form->SpeedButtonZnovuClick();
    gui.form->MenuOpenClick(); // the same file again records nothing new
    QVERIFY(!gui.ui().MenuZnovu->isEnabled());
    QVERIFY(gui.prompter.messages.isEmpty());
}

void TestSettings::openFailures_data() {
    QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
    QTest::addColumn<QString>("message");
    QTest::newRow("no such file") << QByteArray() << "Open file error!";
    QTest::newRow("version 55") << QByteArray("VELKARIM_KEY 55\r\nPOCET_PULSU 9")
                                << "Unmatched version of *.ign file!";
    QTest::newRow("not a parameter file")
        << QByteArray("hello") << "Unmatched version of *.ign file!";
    QTest::newRow("cut short") << QByteArray("VELKARIM_KEY 56 TPS 480") << "Open file error!";
}

void TestSettings::openFailures() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ign"));
    if (!content.isEmpty())
        WriteAll(path, content);
    Gui gui;
    gui.ui().LabelFile2->setText(QStringLiteral("before.ign"));
    const ParamImage before = gui.form->image;
    gui.form->StartHistory();
    gui.form->MenuVerifyClick(); // a progress display that the open hides
    gui.prompter.chosen = path;
    gui.form->MenuOpenClick();
    QFETCH(QString, message);
    QCOMPARE(gui.prompter.messages, QStringList{message});
    QCOMPARE(gui.form->image.Data(), before.Data());
    QCOMPARE(gui.ui().LabelFile2->text(), QStringLiteral("before.ign"));
    QVERIFY(!gui.ui().LabelHlaseni->isVisibleTo(gui.form.get()));
    QVERIFY(!gui.ui().CGaugeProgram->isVisibleTo(gui.form.get()));
}

void TestSettings::openProgramsAfterChange() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.ign"));
    WriteAll(path, "VELKARIM_KEY 56 POCET_PULSU 4");
    Gui gui;
    gui.ui().CheckBoxProgHned->setChecked(true);
    gui.prompter.chosen = path;
    gui.form->MenuSaveClick(); // a save never programs
    QCOMPARE(int(gui.form->link.LinkMode), int(ModeMonitor));
    WriteAll(path, "VELKARIM_KEY 56 POCET_PULSU 4");
    gui.form->MenuOpenClick();
    QCOMPARE(int(gui.form->image.PocetPulsu()), 4);
    QVERIFY(gui.form->link.LinkMode == ModeProgram ||
            gui.form->link.ReadingBeforeWrite()); // the restore-point read comes first
}

void TestSettings::exeDirClearsPresets() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("e.ign"));
    Gui gui;
    gui.prompter.chosen = path;
    gui.form->MenuSaveClick();
    gui.prompter.chosen.clear(); // the user cancels both dialogs
    gui.form->MenuOpenExeDirClick();
    QCOMPARE(gui.prompter.presets.last(), QCoreApplication::applicationDirPath() + "/");
    gui.form->MenuSaveClick();
    QCOMPARE(gui.prompter.presets.last(), QString()); // stays empty until the next success
    QCOMPARE(gui.form->LastFilePath, QDir::toNativeSeparators(path));
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"

#ifdef Q_OS_UNIX
// With the disk full, a save over a parameter file and the settings written at exit must fail
// as a whole: every file keeps the bytes it had, and only the save says so.
void TestSettings::fullDiskKeepsUserFiles_data() {
    QTest::addColumn<bool>("exit"); // false: Save over an existing file
    QTest::newRow("save over a parameter file") << false;
    QTest::newRow("settings written at exit") << true;
}

void TestSettings::fullDiskKeepsUserFiles() {
    QFETCH(bool, exit);
    QTemporaryDir dir;
    const QString ign = dir.filePath(QStringLiteral("bike.ign"));
    const QString appIni = dir.filePath(QStringLiteral("application.ini"));
    const QString defIni = dir.filePath(QStringLiteral("default.ini"));
    {
        Gui first({QStringLiteral("ENGLISH")}, dir.path());
        first.form->image.SetCell(0, 0, 0, 201);
        first.prompter.chosen = ign;
        first.form->MenuSaveClick();
        first.form->close();
    }
    // Longer than the room the full disk leaves, as a settings file with a port table grows.
    WriteAll(appIni, ReadAll(appIni) + "[PORTS]\r\nCOM1=/dev/ttyUSB7\r\n; " + QByteArray(600, '-') +
                         "\r\n");
    const QByteArray ignBefore = ReadAll(ign);
    const QByteArray appBefore = ReadAll(appIni);
    const QByteArray defBefore = ReadAll(defIni);
    QCOMPARE(defBefore.size(), 2508);

    Gui gui({QStringLiteral("ENGLISH")}, dir.path());
    gui.form->image.SetCell(0, 0, 0, 7);
    gui.ui().LabelFile2->setText(QStringLiteral("before.ign"));
    gui.form->move(gui.form->pos() + QPoint(13, 17)); // something new for application.ini
    {
        const FileSizeLimit full(512);
        if (exit) {
            gui.form->close();
        } else {
            gui.prompter.chosen = ign;
            gui.form->MenuSaveClick();
        }
    }
    QCOMPARE(ReadAll(ign), ignBefore);
    QCOMPARE(ReadAll(appIni), appBefore);
    QCOMPARE(ReadAll(defIni), defBefore);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    QCOMPARE(gui.prompter.messages,
             exit ? QStringList() : QStringList{QStringLiteral("Open file error!")});
    if (!exit)
        QCOMPARE(gui.ui().LabelFile2->text(), QStringLiteral("before.ign"));
}
#endif
