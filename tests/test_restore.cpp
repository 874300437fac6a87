// Restore points: the read before the first write, the store and its index, and the window
// keeping what the unit held.

#include "FileSizeLimit.h"
#include "GuiFixture.h"
#include "HlavRestore.h"
#include "LinkFixture.h"
#include "ParameterFile.h"
#include "RestorePoints.h"
#include "RestorePointsWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

using namespace zyrk;

namespace {

ParamImage Distinct(int value) {
    ParamImage image;
    FactoryDefaults(image);
    image.SetCell(0, 2, 2, static_cast<uint8_t>(value));
    return image;
}

// A link with a guard that records what it kept and answers the question as told.
struct GuardRig : LinkRig {
    std::vector<ParamImage> kept;
    QStringList questions;
    bool keepOk = true;
    bool answerYes = false;
    bool unitBackOnQuestion = false;
    GuardRig() {
        image = Distinct(60);
        unit.store = Distinct(77);
        Link::FirstWriteGuard guard;
        guard.keep = [this](const ParamImage& u, QString* why) {
            if (!keepOk) {
                *why = QStringLiteral("disk full");
                return false;
            }
            kept.push_back(u);
            return true;
        };
        guard.programWithout = [this](const QString& why) {
            questions << why;
            if (unitBackOnQuestion)
                unit.faults.silent = false;
            return answerYes;
        };
        link.SetFirstWriteGuard(std::move(guard));
        link.OpenPort();
        Ticks(8);
    }
    int ProgramFrames() const {
        int n = 0;
        for (int c : Commands())
            n += c < kBlockCount;
        return n;
    }
    void Program() {
        link.StartProgramming();
        RunTransfer(400);
    }
};

} // namespace

class TestRestore : public QObject {
    Q_OBJECT

  private slots:
    void firstWriteRule_data();
    void firstWriteRule();
    void keptBytesEqualSave();
    void coalescing_data();
    void coalescing();
    void indexRebuiltFromFiles();
    void twoWritersAtOnce();
    void fullDiskFails();
    void programFromWindowKeepsUnit();
};

void TestRestore::firstWriteRule_data() {
    QTest::addColumn<std::function<void(GuardRig&)>>("steps");
    QTest::addColumn<int>("keeps");
    QTest::addColumn<int>("programmings"); // the unit's count
    QTest::addColumn<int>("questions");
    using F = std::function<void(GuardRig&)>;
    QTest::newRow("program, program") << F([](GuardRig& r) {
        r.Program();
        r.Program();
    }) << 1 << 2 << 0;
    QTest::newRow("connection lost and back") << F([](GuardRig& r) {
        r.Program();
        r.unit.faults.silent = true;
        r.Ticks(60);
        r.unit.faults.silent = false;
        r.Ticks(40);
        r.Program();
    }) << 2 << 2 << 0;
    QTest::newRow("port changed") << F([](GuardRig& r) {
        r.Program();
        r.link.SelectPort(0);
        r.Program();
    }) << 2 << 2 << 0;
    QTest::newRow("read failed, Yes") << F([](GuardRig& r) {
        r.unit.faults.silent = true;
        r.unitBackOnQuestion = true;
        r.answerYes = true;
        r.Program();
    }) << 0 << 1 << 1;
    QTest::newRow("read failed, No") << F([](GuardRig& r) {
        r.unit.faults.silent = true;
        r.unitBackOnQuestion = true;
        r.Program();
    }) << 0 << 0 << 1;
    QTest::newRow("keep failed, No") << F([](GuardRig& r) {
        r.keepOk = false;
        r.Program();
    }) << 0 << 0 << 1;
    QTest::newRow("other version") << F([](GuardRig& r) {
        r.unit.faults.version = 55;
        r.answerYes = true;
        r.Program();
    }) << 0 << 0 << 0;
}

void TestRestore::firstWriteRule() {
    QFETCH(std::function<void(GuardRig&)>, steps);
    QFETCH(int, keeps);
    QFETCH(int, programmings);
    QFETCH(int, questions);
    GuardRig rig;
    const ParamImage before = rig.unit.store;
    steps(rig);
    QCOMPARE(int(rig.kept.size()), keeps);
    QCOMPARE(int(rig.unit.programCount), programmings);
    QCOMPARE(rig.questions.size(), questions);
    if (programmings == 0)
        QCOMPARE(rig.ProgramFrames(), 0); // nothing was written
    if (keeps > 0)
        QCOMPARE(WriteParameterFile(rig.kept.front()),
                 WriteParameterFile(before)); // the unit's set
    // The edited image is what was programmed, never the unit's.
    QCOMPARE(int(rig.image.Cell(0, 2, 2)), 60);
}

void TestRestore::keptBytesEqualSave() {
    QTemporaryDir dir;
    RestorePointStore store(RestorePointStore::FolderIn(dir.path()));
    const ParamImage image = Distinct(91);
    RestorePoint meta;
    meta.kind = RestoreKind::Read;
    meta.program = QStringLiteral("zyrk");
    meta.loadedFile = QStringLiteral("/x/odd_name%1.ign");
    meta.firmwareName = QStringLiteral("ZRK_07");
    QVERIFY(store.Keep(image, meta));
    const auto points = store.List();
    QCOMPARE(int(points.size()), 1);
    QFile file(store.PathOf(points[0]));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), WriteParameterFile(image));
    QCOMPARE(points[0].firmwareName, QStringLiteral("ZRK_07"));
    QCOMPARE(points[0].loadedFile, QStringLiteral("/x/odd_name%1.ign"));
    ParamImage back;
    FactoryDefaults(back);
    QVERIFY(store.Load(points[0], back));
    QCOMPARE(int(back.Cell(0, 2, 2)), 91);
}

void TestRestore::coalescing_data() {
    QTest::addColumn<QList<int>>("values");  // the image of each programming
    QTest::addColumn<QList<int>>("minutes"); // when it happened
    QTest::addColumn<bool>("afterChange");
    QTest::addColumn<int>("count");
    QTest::newRow("one stretch") << QList<int>{1, 2, 3} << QList<int>{0, 4, 13} << true << 1;
    QTest::newRow("gap of 11 min") << QList<int>{1, 2} << QList<int>{0, 11} << true << 2;
    QTest::newRow("plain programs") << QList<int>{1, 2} << QList<int>{0, 1} << false << 2;
    QTest::newRow("same bytes") << QList<int>{5, 5} << QList<int>{0, 30} << false << 1;
}

void TestRestore::coalescing() {
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, minutes);
    QFETCH(bool, afterChange);
    QFETCH(int, count);
    QTemporaryDir dir;
    RestorePointStore store(dir.path());
    const QDateTime t0(QDate(2026, 1, 2), QTime(10, 0), Qt::UTC);
    for (qsizetype i = 0; i < values.size(); ++i) {
        RestorePoint meta;
        meta.kind = RestoreKind::Programmed;
        meta.afterChange = afterChange;
        meta.program = QStringLiteral("zyrk");
        QVERIFY(store.Keep(Distinct(values[i]), meta, nullptr, t0.addSecs(60 * minutes[i])));
    }
    const auto points = store.List();
    QCOMPARE(int(points.size()), count);
    QCOMPARE(int(QDir(dir.path()).entryList({QStringLiteral("*.ign")}).size()), count);
    ParamImage newest;
    FactoryDefaults(newest);
    QVERIFY(store.Load(points.front(), newest));
    QCOMPARE(int(newest.Cell(0, 2, 2)), values.last());
}

void TestRestore::indexRebuiltFromFiles() {
    QTemporaryDir dir;
    RestorePointStore store(dir.path());
    const QDateTime t0(QDate(2026, 1, 2), QTime(10, 0), Qt::UTC);
    for (int i = 0; i < 3; ++i) {
        RestorePoint meta;
        meta.kind = i == 0 ? RestoreKind::BeforeProgramming : RestoreKind::Read;
        meta.program = QStringLiteral("zyrk-cli");
        meta.programCount = 40 + i;
        meta.firmwareDate = QStringLiteral("01.02.2025");
        QVERIFY(store.Keep(Distinct(10 + i), meta, nullptr, t0.addSecs(i)));
    }
    const auto before = store.List();
    QCOMPARE(int(before.size()), 3);
    auto same = [&](const std::vector<RestorePoint>& after) {
        QCOMPARE(int(after.size()), 3);
        for (size_t i = 0; i < 3; ++i) {
            QCOMPARE(after[i].fileName, before[i].fileName);
            QCOMPARE(after[i].time, before[i].time);
            QVERIFY(after[i].kind == before[i].kind);
            QCOMPARE(after[i].programCount, before[i].programCount);
            QCOMPARE(after[i].program, before[i].program);
            QCOMPARE(after[i].firmwareDate, before[i].firmwareDate);
        }
    };
    const QString index = dir.filePath(QString::fromLatin1(kRestoreIndexName));
    QVERIFY(QFile::remove(index));
    same(store.List());
    QFile damaged(index);
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("garbage\n\x01\x02");
    damaged.close();
    same(store.List());
    QVERIFY(store.RebuildIndex());
    QVERIFY(QFile(index).size() > 30);
    same(store.List());
}

void TestRestore::twoWritersAtOnce() {
    QTemporaryDir dir;
    const QDateTime t0(QDate(2026, 1, 2), QTime(10, 0), Qt::UTC);
    auto writer = [&](int base) {
        RestorePointStore store(dir.path()); // each its own, as two programs would be
        for (int i = 0; i < 15; ++i) {
            RestorePoint meta;
            meta.kind = RestoreKind::Read;
            meta.program = QStringLiteral("zyrk");
            store.Keep(Distinct(base + i), meta, nullptr, t0); // the same millisecond
        }
    };
    std::thread a(writer, 100);
    std::thread b(writer, 150);
    a.join();
    b.join();
    RestorePointStore store(dir.path());
    QCOMPARE(int(store.List().size()), 30);
    QFile index(dir.filePath(QString::fromLatin1(kRestoreIndexName)));
    QVERIFY(index.open(QIODevice::ReadOnly));
    QCOMPARE(int(index.readAll().count('\n')), 31); // header and every entry
}

void TestRestore::fullDiskFails() {
    QTemporaryDir dir;
    RestorePointStore store(dir.path());
    QString why;
    {
        FileSizeLimit limit(1000);
        QVERIFY(!store.Keep(Distinct(3), RestorePoint{}, &why));
    }
    QVERIFY(!why.isEmpty());
    QCOMPARE(int(store.List().size()), 0);
    QCOMPARE(int(QDir(dir.path()).entryList({QStringLiteral("*.ign")}).size()), 0);
}

void TestRestore::programFromWindowKeepsUnit() {
    Gui gui;
    gui.unit.store = Distinct(222);
    const ParamImage unitBefore = gui.unit.store;
    gui.Ticks(20);
    gui.form->image = Distinct(33);
    gui.form->AfterChange();
    gui.form->MenuProgramClick();
    for (int t = 0; t < 400 && (gui.form->link.LinkMode != ModeMonitor || t < 2); ++t)
        gui.Ticks(1);
    QCOMPARE(int(gui.unit.store.Cell(0, 2, 2)), 33);
    const auto points = gui.form->Restore->Store().List();
    QCOMPARE(int(points.size()), 2);
    QVERIFY(points[0].kind == RestoreKind::Programmed);
    QVERIFY(points[1].kind == RestoreKind::BeforeProgramming);
    QFile file(gui.form->Restore->Store().PathOf(points[1]));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), WriteParameterFile(unitBefore));
    // The window lists them and opens one as one editing step.
    gui.form->Restore->ShowWindow();
    QCOMPARE(gui.form->Restore->Window()->List()->topLevelItemCount(), 2);
    QVERIFY(gui.form->Restore->Open(points[1]));
    QCOMPARE(int(gui.form->image.Cell(0, 2, 2)), 222);
    gui.form->SpeedButtonZpetClick();
    QCOMPARE(int(gui.form->image.Cell(0, 2, 2)), 33);
}

QTEST_MAIN(TestRestore)
#include "test_restore.moc"
