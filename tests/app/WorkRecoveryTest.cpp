// Work that outlives a crash, a kill or a logout: the journal written within a moment of every
// change, cleared exactly when nothing is left to lose, and offered back at the next start with
// each of its answers; a real program killed at random moments; an export in place cut short.
#include "AppTestFixture.h"

#include "../support/ChildProcess.h"

#include "app/WorkRecovery.h"
#include "doc/DataFileWriter.h"
#include "doc/DocumentJournal.h"
#include "doc/RecoveredWork.h"
#include "platform/core/CStdioFile.h"
#include "platform/core/KeptFile.h"
#include "platform/core/RecoveryFolder.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QSysInfo>
#include <QTest>
#include <QThread>

#include <algorithm>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <sys/mount.h>
#include <unistd.h>

namespace {

CTallyscopeView* View() {
    auto* frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
    return static_cast<CTallyscopeView*>(frame->GetActiveView());
}
CTallyscopeDoc* Doc() {
    auto* frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
    return frame != nullptr ? static_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
}
void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(View()->GetInputWidget(), Qt::LeftButton, modifiers, at);
}
void Place(QPoint at) {
    Click(at, Qt::ShiftModifier);
}
void Command(UINT id) {
    dynamic_cast<CMainFrame*>(theApp.m_pMainWnd)->ExecuteCommand(id);
}
void PlaceAxisPoint(ScriptedModalHost& host, UINT command, QPoint at, const char* value) {
    host.AnswerDialog([value](DialogDriver& dialog) {
        dialog.SetText(IDC_AXIS_VALUE, value);
        dialog.PressOK();
    });
    Command(command);
    Place(at);
}

// The export the document would write now, without touching its state.
QByteArray ExportNow(const CTallyscopeDoc& doc, const QString& path) {
    CStdioFile file;
    if (!file.Open(path.toUtf8().constData(), CFile::modeCreate | CFile::modeWrite))
        return QByteArray();
    DataFileWriter(doc, file).Write();
    file.Close();
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The work of a document, the selection left out: it changes with plain clicks, between changes.
QByteArray WorkKey(const CTallyscopeDoc& doc) {
    RecoveredWork work = RecoveredWork::Capture(doc);
    work.selectedSeries = -2;
    work.selectedIndex = 0;
    return QCryptographicHash::hash(work.WorkText(), QCryptographicHash::Sha1).toHex();
}

QStringList Journals() {
    return QDir(RecoveryFolder::Path()).entryList({"*.journal"}, QDir::Files);
}

class Recovery : public AppTest {
protected:
    CString Chart(const QString& name, QColor colour = Qt::white) {
        return CString(m_files.Save(MakeTestImage(200, 150, colour), name).toUtf8().constData());
    }
    // Points in two series, a calibration through the mouse and the dialogs, a switch, a selection.
    void DoWork() {
        Place({20, 30});
        Place({60, 40});
        Click({100, 50}, Qt::ShiftModifier | Qt::ControlModifier);
        Place({120, 90});
        Command(ID_AXIS_ORIGIN);
        Place({10, 140});
        PlaceAxisPoint(m_host, ID_AXIS_XAXIS, {190, 140}, "100");
        PlaceAxisPoint(m_host, ID_AXIS_YAXIS, {10, 10}, "0.5");
        m_host.AnswerDialog([](DialogDriver& dialog) {
            dialog.SetCheck(IDC_Y_LOG, true);
            dialog.SetText(IDC_Y_MIN, "0.001");
            dialog.PressOK();
        });
        Command(ID_AXIS_VALUE);
        Command(ID_MEASURE_LENGTH);
        Click({60, 40}); // selects the second point
        ASSERT_TRUE(View()->m_bPointSelected);
    }
    // Ends the program as a kill would leave it: the journal stays, owned by nobody alive.
    QString LeaveAsIfKilled(const char* ownerId = "4242-0badc0de") {
        const QString own = RecoveryFolder::OwnPath("journal");
        theApp.ExitInstance();
        DeleteDestroyedWindows();
        const QString orphan = QDir(RecoveryFolder::Path()).filePath(QString(ownerId) + ".journal");
        EXPECT_TRUE(QFile::rename(own, orphan));
        return orphan;
    }
    void Restart() {
        theApp.ExitInstance();
        DeleteDestroyedWindows();
        m_host.messages.clear();
        m_host.fileDialogs.clear();
    }
    CString Text(const char* format, const QString& name, int points) {
        CString text;
        text.Format(format, name.toUtf8().constData(), points);
        return text;
    }
    QString Out(const char* name) { return m_files.Path(name); }
};

} // namespace

TEST_F(Recovery, Offer_YesRestoresExactlyNoKeepsABackupCancelLeavesIt) {
    for (const int answer : {IDYES, IDNO, IDCANCEL}) {
        SCOPED_TRACE(answer);
        QDir(RecoveryFolder::Path()).removeRecursively();
        const CString chart = Chart("a.bmp");
        ASSERT_TRUE(Start({chart}));
        DoWork();
        const QByteArray expected = ExportNow(*Doc(), Out("expected.dat"));
        const QByteArray work = RecoveredWork::Capture(*Doc()).WorkText();
        const QString orphan = LeaveAsIfKilled();

        m_host.AnswerMessageBox(answer);
        ASSERT_TRUE(Start({chart}));
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0].text, Text(kMsgRestoreWork, "a.bmp", 4));
        EXPECT_EQ(m_host.messages[0].type & MB_TYPEMASK, MB_YESNOCANCEL);
        if (answer == IDYES) {
            EXPECT_EQ(RecoveredWork::Capture(*Doc()).WorkText(), work) << "points, calibration, selection";
            EXPECT_TRUE(View()->m_bPointSelected);
            EXPECT_TRUE(Doc()->IsModified());
            EXPECT_TRUE(Doc()->GetJournal()->Journal().Exists()) << "journalled at once as this program's";
            m_host.AnswerFileDialog(CString(Out("restored.dat").toUtf8().constData()));
            Command(ID_DATA_SAVE);
            EXPECT_EQ(ReadAll(Out("restored.dat")), expected);
        } else {
            EXPECT_EQ(Doc()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 0);
            EXPECT_FALSE(Doc()->IsModified());
        }
        EXPECT_EQ(QFileInfo::exists(orphan), answer == IDCANCEL);
        const QString backup = QDir(RecoveryFolder::Path()).filePath("previous.journal.bak");
        ASSERT_EQ(QFileInfo::exists(backup), answer == IDNO);
        if (answer == IDNO) {
            EXPECT_EQ(RecoveredWork::ReadFile(backup)->WorkText(), work) << "a wrong No is not final";
        }
        Restart();
    }
}

TEST_F(Recovery, Offer_AChangedPictureIsSaidSoAndAMissingOneCanStillBeExported) {
    enum class Case { ChangedYes, ChangedNoExport, MissingExport };
    for (const Case c : {Case::ChangedYes, Case::ChangedNoExport, Case::MissingExport}) {
        SCOPED_TRACE(static_cast<int>(c));
        QDir(RecoveryFolder::Path()).removeRecursively();
        const CString chart = Chart("a.bmp");
        ASSERT_TRUE(Start({chart}));
        DoWork();
        const QByteArray expected = ExportNow(*Doc(), Out("expected.dat"));
        const QString orphan = LeaveAsIfKilled();
        const QString path = QString::fromUtf8(chart.GetString());
        if (c == Case::MissingExport) {
            QFile::remove(path);
            m_host.AnswerMessageBox(IDYES);
            m_host.AnswerFileDialog(CString(Out("rescued.dat").toUtf8().constData()));
            ASSERT_TRUE(Start());
            ASSERT_EQ(m_host.messages.size(), 1u);
            EXPECT_EQ(m_host.messages[0].text, Text(kMsgExportWorkPictureMissing, path, 4));
            EXPECT_EQ(ReadAll(Out("rescued.dat")), expected);
        } else {
            Chart("a.bmp", Qt::yellow); // the same name, other pixels
            m_host.AnswerMessageBox(c == Case::ChangedYes ? IDYES : IDNO);
            if (c == Case::ChangedNoExport) {
                m_host.AnswerMessageBox(IDYES);
                m_host.AnswerFileDialog(CString(Out("rescued.dat").toUtf8().constData()));
            }
            ASSERT_TRUE(Start({chart}));
            ASSERT_GE(m_host.messages.size(), 1u);
            EXPECT_EQ(m_host.messages[0].text, Text(kMsgRestoreWorkPictureChanged, "a.bmp", 4));
            if (c == Case::ChangedYes) {
                m_host.AnswerFileDialog(CString(Out("restored.dat").toUtf8().constData()));
                Command(ID_DATA_SAVE);
                EXPECT_EQ(ReadAll(Out("restored.dat")), expected);
            } else {
                EXPECT_EQ(m_host.messages[1].text, Text(kMsgExportWorkInstead, "a.bmp", 4));
                EXPECT_EQ(ReadAll(Out("rescued.dat")), expected);
                EXPECT_FALSE(Doc()->IsModified());
            }
        }
        EXPECT_FALSE(QFileInfo::exists(orphan));
        Restart();
    }
}

TEST_F(Recovery, Offer_StartWithoutPictureNewestFirstOneAtATimeNeverALiveProgramsJournal) {
    const CString a = Chart("a.bmp");
    const CString b = Chart("b.bmp");
    const CString c = Chart("c.bmp");
    std::map<std::string, QString> orphans;
    const QDateTime now = QDateTime::currentDateTime();
    int age = 3;
    const std::pair<CString, const char*> programs[] = {
        {a, "1001-0000000a"}, {b, "1002-0000000b"}, {c, "1003-0000000c"}};
    for (const auto& [chart, id] : programs) {
        ASSERT_TRUE(Start({chart}));
        Place({20, 30});
        orphans[chart.str()] = LeaveAsIfKilled(id);
        QFile file(orphans[chart.str()]);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(now.addSecs(-60 * age--), QFileDevice::FileModificationTime);
    }
    // c.bmp's program is still running: its lock is held by a live process.
    QLockFile live(QDir(RecoveryFolder::Path()).filePath("1003-0000000c.lock"));
    ASSERT_TRUE(live.tryLock(0));
    // A program killed with nothing to offer back left only its lock, which the start removes.
    const QString deadLock = QDir(RecoveryFolder::Path()).filePath("1004-0000000d.lock");
    QFile dead(deadLock);
    ASSERT_TRUE(dead.open(QIODevice::WriteOnly));
    dead.write("2147483647\ntallyscope\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    dead.close();

    m_host.AnswerMessageBox(IDNO);  // b.bmp, the newest offered
    m_host.AnswerMessageBox(IDYES); // a.bmp
    ASSERT_TRUE(Start());
    ASSERT_EQ(m_host.messages.size(), 2u);
    EXPECT_EQ(m_host.messages[0].text, Text(kMsgRestoreWork, "b.bmp", 1));
    EXPECT_EQ(m_host.messages[1].text, Text(kMsgRestoreWork, "a.bmp", 1));
    EXPECT_EQ(Doc()->GetPathName(), a);
    EXPECT_EQ(Doc()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 1);
    EXPECT_FALSE(QFileInfo::exists(orphans[a.str()]));
    EXPECT_FALSE(QFileInfo::exists(orphans[b.str()]));
    EXPECT_TRUE(QFileInfo::exists(orphans[c.str()]));
    EXPECT_FALSE(QFileInfo::exists(deadLock));
    EXPECT_TRUE(QFileInfo::exists(live.fileName()));
    Restart();

    // Opening a picture offers its journals too; the live program's stays its own.
    ASSERT_TRUE(Start());
    EXPECT_TRUE(m_host.messages.empty());
    ASSERT_NE(theApp.OpenDocumentFile(c), nullptr);
    EXPECT_TRUE(m_host.messages.empty());
    live.unlock();
    ASSERT_NE(theApp.OpenDocumentFile(b), nullptr);
    m_host.AnswerMessageBox(IDYES);
    ASSERT_NE(theApp.OpenDocumentFile(c), nullptr);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0].text, Text(kMsgRestoreWork, "c.bmp", 1));
    EXPECT_EQ(Doc()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 1);
    EXPECT_FALSE(QFileInfo::exists(orphans[c.str()]));
}

TEST_F(Recovery, Journal_WrittenSoonAfterAChangeAndClearedExactlyWhenNothingIsLeftToLose) {
    const CString a = Chart("a.bmp");
    const CString b = Chart("b.bmp");
    const auto exists = [] { return Doc()->GetJournal()->Journal().Exists(); };
    const auto change = [&] {
        Place({20, 30});
        // The journal is written on its own thread after the delay; a loaded machine may take
        // longer to get there, so the wait is on the file, with room to spare.
        QTRY_VERIFY_WITH_TIMEOUT(exists(), DocumentJournal::kDelayMs + 10000);
    };
    struct Route {
        const char* name;
        std::function<void()> act;
        bool kept;
    };
    const Route routes[] = {
        {"export",
         [&] {
             m_host.AnswerFileDialog(CString(Out("out.dat").toUtf8().constData()));
             Command(ID_DATA_SAVE);
         },
         false},
        {"export cancelled",
         [&] {
             m_host.AnswerFileDialog(std::nullopt);
             Command(ID_DATA_SAVE);
         },
         true},
        {"close, No",
         [&] {
             m_host.AnswerMessageBox(IDNO);
             Command(ID_APP_EXIT);
         },
         false},
        {"close, Cancel",
         [&] {
             m_host.AnswerMessageBox(IDCANCEL);
             Command(ID_APP_EXIT);
         },
         true},
        {"open after No",
         [&] {
             m_host.AnswerMessageBox(IDNO);
             theApp.OpenDocumentFile(b);
         },
         false},
        {"open of a broken file after No",
         [&] {
             const CString broken(m_files.Write("broken.bmp", "not a picture").toUtf8().constData());
             m_host.AnswerMessageBox(IDNO);
             m_host.AnswerMessageBox(IDOK);
             theApp.OpenDocumentFile(broken);
         },
         true},
        {"session ends without a question", [&] { theApp.CommitSessionData(FALSE); }, true},
        {"session ends, No",
         [&] {
             m_host.AnswerMessageBox(IDNO);
             EXPECT_TRUE(theApp.CommitSessionData(TRUE));
         },
         false},
        {"session ends, Cancel",
         [&] {
             m_host.AnswerMessageBox(IDCANCEL);
             EXPECT_FALSE(theApp.CommitSessionData(TRUE));
         },
         true},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        ASSERT_TRUE(Start({a}));
        const QString journal = Doc()->GetJournal()->Journal().Path();
        EXPECT_FALSE(exists()) << "nothing before the first change";
        change();
        route.act();
        EXPECT_EQ(QFileInfo::exists(journal), route.kept);
        Restart();
        QFile::remove(journal);
    }

    // A normal exit with nothing unexported leaves nothing; one with unexported work (a session
    // that ended without a question) leaves the work as it last was.
    ASSERT_TRUE(Start({a}));
    const QString journal = Doc()->GetJournal()->Journal().Path();
    change();
    m_host.AnswerFileDialog(CString(Out("out.dat").toUtf8().constData()));
    Command(ID_DATA_SAVE);
    Restart();
    EXPECT_FALSE(QFileInfo::exists(journal));
    ASSERT_TRUE(Start({a}));
    Place({20, 30});
    Place({40, 30}); // no time to journal it before the end
    const QByteArray work = RecoveredWork::Capture(*Doc()).WorkText();
    Restart();
    ASSERT_TRUE(QFileInfo::exists(journal));
    EXPECT_EQ(RecoveredWork::ReadFile(journal)->WorkText(), work);
}

// ---- a real program killed at random moments ---------------------------------------------------

namespace {

constexpr int kChanges = 200;
using Clock = std::chrono::steady_clock;

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// One change of many kinds, through the program's real handlers, chosen by the generator.
void RandomChange(ScriptedModalHost& host, QRandomGenerator& random) {
    const QPoint at(5 + random.bounded(190), 5 + random.bounded(140));
    switch (random.bounded(20)) {
    case 0:
        Click(at, Qt::ShiftModifier | Qt::ControlModifier);
        break;
    case 1:
        Command(ID_DATA_DELETE_LAST);
        break;
    case 2:
        Command(ID_DATA_NEW_SERIES);
        break;
    case 3:
        Command(ID_AXIS_ORIGIN);
        Place(at);
        break;
    case 4:
        PlaceAxisPoint(host, random.bounded(2) ? ID_AXIS_XAXIS : ID_AXIS_YAXIS, at,
                       QByteArray::number(random.bounded(1000) / 7.0).constData());
        break;
    case 5:
        host.AnswerDialog(
            [value = random.bounded(100) / 3.0, log = random.bounded(2) == 1](DialogDriver& dialog) {
                dialog.SetText(IDC_X_MIN, QString::number(value, 'g', 17));
                dialog.SetCheck(IDC_X_LOG, log);
                dialog.PressOK();
            });
        Command(ID_AXIS_VALUE);
        break;
    case 6:
        Command(random.bounded(2) ? ID_MEASURE_LENGTH : ID_MEASURE_AREA);
        break;
    case 7: {
        const CDataArray* series = Doc()->m_DataSeries.GetCurrentSeries();
        if (series->m_aData.GetSize() > 0) {
            const CData* point = series->m_aData[series->m_aData.GetUpperBound()];
            Click(QPoint(point->m_nPixelX, point->m_nPixelY));
            QTest::keyClick(View()->GetInputWidget(), random.bounded(2) ? Qt::Key_Left : Qt::Key_Down);
        }
        break;
    }
    default:
        Place(at);
        break;
    }
}

// The child: the real program on the picture, changed 200 times at a person's pace, each state's
// key and time written out as soon as it is reached; then it waits to be killed.
int RunChangesUntilKilled() {
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    ScriptedModalHost host;
    theApp.SetCommandLine({CString(qgetenv("TALLYSCOPE_KILL_PICTURE").constData())});
    if (!theApp.InitInstance())
        return 2;
    QRandomGenerator random(qgetenv("TALLYSCOPE_KILL_SEED").toUInt());
    std::printf("start %lld %s\n", NowNs(), WorkKey(*Doc()).constData());
    std::fflush(stdout);
    for (int i = 0; i < kChanges; ++i) {
        RandomChange(host, random);
        std::printf("state %lld %s\n", NowNs(), WorkKey(*Doc()).constData());
        std::fflush(stdout);
        QTest::qWait(random.bounded(30));
    }
    std::printf("done\n");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(100);
}
const ChildRoutineRegistration kKillChild("RunChangesUntilKilled", RunChangesUntilKilled);

struct State {
    long long reachedNs;
    QByteArray key;
};

} // namespace

TEST_F(Recovery, Kill_AtRandomMomentsTheJournalAlwaysParsesAndHoldsARecentState) {
    const CString chart = Chart("chart.bmp");
    QRandomGenerator random(20261209);
    for (int run = 0; run < 6; ++run) {
        SCOPED_TRACE(run);
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
        QProcessEnvironment environment;
        environment.insert("XDG_STATE_HOME", state.path());
        environment.insert("TALLYSCOPE_KILL_PICTURE", QString::fromUtf8(chart.GetString()));
        environment.insert("TALLYSCOPE_KILL_SEED", QString::number(random.generate()));
        std::unique_ptr<QProcess> child = StartChildRoutine("RunChangesUntilKilled", environment);
        ASSERT_TRUE(child->waitForStarted());
        while (!child->canReadLine() && child->waitForReadyRead(10000)) {
        }
        ASSERT_TRUE(child->canReadLine()) << child->readAllStandardError().toStdString();
        QThread::msleep(100 + random.bounded(3500));
        ::kill(static_cast<pid_t>(child->processId()), SIGKILL);
        const long long killedNs = NowNs();
        child->waitForFinished();

        std::vector<State> states;
        for (const QByteArray& line : child->readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 3)
                states.push_back({fields[1].toLongLong(), fields[2]});
        }
        ASSERT_GE(states.size(), 1u);
        // A state counts as recent when it was still the program's state a second before the kill
        // (with half a second more for the timer and the write on a busy machine).
        const long long windowStart = killedNs - 1'500'000'000;
        std::vector<QByteArray> recent;
        for (std::size_t i = 0; i < states.size(); ++i) {
            if (i + 1 == states.size() || states[i + 1].reachedNs >= windowStart)
                recent.push_back(states[i].key);
        }

        const QStringList journals = Journals();
        ASSERT_LE(journals.size(), 1);
        for (const QString& name : journals)
            ASSERT_TRUE(RecoveredWork::ReadFile(QDir(RecoveryFolder::Path()).filePath(name)))
                << "always parses";
        if (journals.isEmpty()) {
            // Nothing journalled yet: only when the program had changed nothing before the window.
            EXPECT_TRUE(states.size() == 1 || states[1].reachedNs >= windowStart);
            continue;
        }
        m_host.AnswerMessageBox(IDYES);
        ASSERT_TRUE(Start({chart}));
        ASSERT_EQ(m_host.messages.size(), 1u);
        const QByteArray restored = WorkKey(*Doc());
        EXPECT_NE(std::find(recent.begin(), recent.end(), restored), recent.end())
            << "restored a state older than a second, of " << states.size() << " reached";
        Restart();
    }
}

// ---- an export in place cut short ----------------------------------------------------------------

namespace {

// The child: rewrites the file in place with far more than it held, and is killed half-way.
int RewriteInPlaceAndDie() {
    CStdioFile::rewriteInPlaceForTesting = true;
    CStdioFile file;
    if (!file.Open(qgetenv("TALLYSCOPE_INPLACE_TARGET").constData(), CFile::modeCreate | CFile::modeWrite))
        return 2;
    const std::string line(1000, 'n');
    for (int i = 0; i < 300; ++i) // several chunks reach the file
        file.WriteString((line + "\n").c_str());
    std::raise(SIGKILL);
    return 3;
}
const ChildRoutineRegistration kInPlaceChild("RewriteInPlaceAndDie", RewriteInPlaceAndDie);

} // namespace

TEST_F(Recovery, InPlaceExport_KilledHalfWayThePreviousFileIsOfferedBack) {
    QByteArray previous;
    for (int i = 0; i < 2000; ++i)
        previous += "Pixcel Value\t" + QByteArray::number(i) + "\r\n";
    const QString target = m_files.Write("earlier.dat", previous);
    QProcessEnvironment environment;
    environment.insert("XDG_STATE_HOME", QString::fromUtf8(qgetenv("XDG_STATE_HOME")));
    environment.insert("TALLYSCOPE_INPLACE_TARGET", target);
    std::unique_ptr<QProcess> child = StartChildRoutine("RewriteInPlaceAndDie", environment);
    ASSERT_TRUE(child->waitForFinished());
    ASSERT_EQ(child->exitStatus(), QProcess::CrashExit);
    ASSERT_NE(ReadAll(target), previous) << "the kill came while the file was being rewritten";

    for (const int answer : {IDCANCEL, IDYES}) {
        m_host.AnswerMessageBox(answer);
        ASSERT_TRUE(Start());
        ASSERT_EQ(m_host.messages.size(), 1u);
        CString text;
        text.Format(kMsgPutBackKeptFile, QFileInfo(target).absoluteFilePath().toUtf8().constData());
        EXPECT_TRUE(m_host.messages[0].text.str().starts_with(text.str() + "\n")) << "with the file's time and size";
        Restart();
    }
    EXPECT_EQ(ReadAll(target), previous);
    EXPECT_TRUE(QDir(RecoveryFolder::Path()).entryList({"*.kept"}).isEmpty());
}

// ---- a recovery folder that cannot take the journal ------------------------------------------------

namespace {

// A small file system mounted over a folder for the life of the object, where the machine allows it.
class SmallDisk {
public:
    explicit SmallDisk(const QString& folder, const char* options) : m_folder(folder) {
        QDir().mkpath(folder);
        m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options) == 0;
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool IsMounted() const { return m_mounted; }
    // Fills the disk to the last byte with one file.
    void Fill() {
        QFile filler(QDir(m_folder).filePath("filler"));
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
    }
    void Empty() { QFile::remove(QDir(m_folder).filePath("filler")); }

private:
    QString m_folder;
    bool m_mounted = false;
};

CString Unusable(const QString& folder, const char* reason) {
    CString text;
    text.Format(kMsgJournalUnusable, QDir::toNativeSeparators(folder).toUtf8().constData(), reason);
    return text;
}

CString StatusText() {
    return dynamic_cast<CMainFrame*>(theApp.m_pMainWnd)->m_statusBar.GetPaneText(0);
}

} // namespace

// Each way the folder can fail: told once per cause with the folder and the reason, tried again
// without a change, and the work journalled whole as soon as the folder can take it again.
TEST_F(Recovery, Journal_AFailureIsToldOncePerCauseRetriedAndItsEndShown) {
    struct Route {
        const char* name;
        bool atStart;              // the folder is unusable before the program starts
        std::function<bool()> spoil; // false: the route cannot be made on this machine
        std::function<void()> mend;
        const char* reason;
    };
    const QString base = QDir(qEnvironmentVariable("XDG_STATE_HOME")).filePath("routes");
    QString state;
    const auto folder = [&] { return QDir(state).filePath("tallyscope"); };
    const auto fileInPlace = [&] {
        QDir(folder()).removeRecursively();
        return !m_files.Write("in-place", "x").isEmpty() && QFile::copy(m_files.Path("in-place"), folder());
    };
    const auto removeFile = [&] { QFile::remove(folder()); };
    std::unique_ptr<SmallDisk> disk;
    const Route routes[] = {
        {"a file in place of the folder at start", true, fileInPlace, removeFile, kReasonNotAFolder},
        {"a file in place of the folder after start", false, fileInPlace, removeFile, kReasonNotAFolder},
        {"a disk that fills after the first pick", false,
         [&] {
             if (disk->IsMounted())
                 disk->Fill();
             else
                 RecoveryFolder::injectedErrorForTesting = ENOSPC;
             return true;
         },
         [&] {
             disk->Empty();
             RecoveryFolder::injectedErrorForTesting = 0;
         },
         kReasonFull},
        {"a read-only folder", false,
         [&] {
             RecoveryFolder::injectedErrorForTesting = EROFS;
             return true;
         },
         [&] { RecoveryFolder::injectedErrorForTesting = 0; }, kReasonReadOnly},
    };
    int run = 0;
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        state = QDir(base).filePath(QString::number(run++));
        disk = std::make_unique<SmallDisk>(state, "size=64k,mode=0700");
        if (!disk->IsMounted())
            std::printf("note: no tmpfs here, a full disk is an injected failure\n");
        qputenv("XDG_STATE_HOME", state.toUtf8());
        const CString chart = Chart("a.bmp");
        if (route.atStart) {
            ASSERT_TRUE(route.spoil());
            m_host.AnswerMessageBox(IDOK);
        }
        ASSERT_TRUE(Start({chart}));
        Place({20, 30});
        if (!route.atStart) {
            ASSERT_TRUE(QTest::qWaitFor([] { return Doc()->GetJournal()->Journal().Exists(); }, 5000));
            ASSERT_TRUE(route.spoil());
            m_host.AnswerMessageBox(IDOK);
        }
        for (int pick = 0; pick < 5; ++pick) {
            Place({30 + 10 * pick, 40});
            QTest::qWait(100);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_host.messages.empty(); }, 5000));
        EXPECT_EQ(m_host.messages[0].text, Unusable(folder(), route.reason));
        EXPECT_EQ(m_host.messages[0].type & MB_TYPEMASK, MB_OK);
        EXPECT_TRUE(Doc()->GetJournal()->IsUnprotected());
        QTest::qWait(DocumentJournal::kRetryMs + 500); // a retry fails again: no second message
        EXPECT_EQ(m_host.messages.size(), 1u) << "once per cause";
        EXPECT_EQ(StatusText(), kMsgJournalUnprotected);

        // Mended without another change: the retry journals the work, and the status bar says so.
        route.mend();
        ASSERT_TRUE(QTest::qWaitFor([] { return !Doc()->GetJournal()->IsUnprotected(); },
                                    DocumentJournal::kRetryMs * 3));
        EXPECT_EQ(StatusText(), kMsgJournalProtectedAgain);
        LeaveAsIfKilled();
        m_host.AnswerMessageBox(IDYES);
        ASSERT_TRUE(Start({chart}));
        ASSERT_EQ(m_host.messages.size(), 2u);
        EXPECT_EQ(m_host.messages[1].text, Text(kMsgRestoreWork, "a.bmp", 6)) << "every pick kept";
        Restart();
        disk.reset();
    }
}

// Two causes are two messages; the same cause again after the folder came back is not told again.
TEST_F(Recovery, Journal_EachCauseToldOnce) {
    const CString chart = Chart("a.bmp");
    ASSERT_TRUE(Start({chart}));
    const QString folder = RecoveryFolder::Path();
    CString other;
    other.Format(kReasonOther, EIO);
    struct Failure {
        int error;
        const char* reason; // null: the cause was told before
    };
    const Failure failures[] = {
        {ENOSPC, kReasonFull}, {EROFS, kReasonReadOnly}, {ENOSPC, nullptr}, {EIO, other.GetString()}};
    std::vector<CString> expected;
    for (const auto& [error, reason] : failures) {
        RecoveryFolder::injectedErrorForTesting = error;
        if (reason != nullptr) {
            m_host.AnswerMessageBox(IDOK);
            expected.push_back(Unusable(folder, reason));
        }
        Place({20, 30});
        ASSERT_TRUE(QTest::qWaitFor([&] { return Doc()->GetJournal()->IsUnprotected(); }, 5000));
        QTest::qWait(200);
        RecoveryFolder::injectedErrorForTesting = 0;
        ASSERT_TRUE(QTest::qWaitFor([] { return !Doc()->GetJournal()->IsUnprotected(); },
                                    DocumentJournal::kRetryMs * 3));
    }
    ASSERT_EQ(m_host.messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m_host.messages[i].text, expected[i]) << i;
}

// A restored journal stays on disk until the program's own journal holds its work.
TEST_F(Recovery, Restore_TheOldJournalGoesOnlyOnceTheNewOneIsOnDisk) {
    const CString chart = Chart("a.bmp");
    ASSERT_TRUE(Start({chart}));
    Place({20, 30});
    Place({40, 30});
    const QString orphan = LeaveAsIfKilled();

    RecoveryFolder::injectedErrorForTesting = ENOSPC;
    m_host.AnswerMessageBox(IDOK);  // the failure, told once, at start
    m_host.AnswerMessageBox(IDYES); // the offer
    ASSERT_TRUE(Start({chart}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_host.messages.size() == 2u; }, 5000));
    EXPECT_EQ(Doc()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(), 2);
    EXPECT_TRUE(QFileInfo::exists(orphan)) << "the only copy on disk";
    QTest::qWait(DocumentJournal::kRetryMs + 500);
    EXPECT_TRUE(QFileInfo::exists(orphan));

    RecoveryFolder::injectedErrorForTesting = 0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QFileInfo::exists(orphan); }, DocumentJournal::kRetryMs * 3));
    EXPECT_EQ(RecoveredWork::ReadFile(Doc()->GetJournal()->Journal().Path())->PointCount(), 2);
}

// An export that must rewrite the file in place while no copy of it can be kept asks, naming that
// cause, and writes the file when the user agrees.
TEST_F(Recovery, InPlaceExport_WithTheFolderUnusableAsksAndWrites) {
    const CString chart = Chart("a.bmp");
    ASSERT_TRUE(Start({chart}));
    Place({20, 30});
    ASSERT_TRUE(QTest::qWaitFor([] { return Doc()->GetJournal()->Journal().Exists(); }, 5000));
    const QByteArray expected = ExportNow(*Doc(), Out("expected.dat"));
    const QString target = m_files.Write("earlier.dat", "earlier\r\n");
    CStdioFile::rewriteInPlaceForTesting = true;
    RecoveryFolder::injectedErrorForTesting = ENOSPC;
    for (const int answer : {IDNO, IDYES}) {
        m_host.messages.clear();
        m_host.AnswerFileDialog(CString(target.toUtf8().constData()));
        m_host.AnswerMessageBox(answer);
        Command(ID_DATA_SAVE);
        ASSERT_GE(m_host.messages.size(), 1u);
        CString question;
        question.Format(kMsgRewriteWithoutKeptCopy, target.toUtf8().constData(),
                        QDir::toNativeSeparators(RecoveryFolder::Path()).toUtf8().constData());
        EXPECT_EQ(m_host.messages[0].text, question);
        EXPECT_EQ(ReadAll(target), answer == IDYES ? expected : QByteArray("earlier\r\n"));
        EXPECT_EQ(Doc()->IsModified(), answer == IDNO);
    }
    RecoveryFolder::injectedErrorForTesting = 0;
    CStdioFile::rewriteInPlaceForTesting = false;
}

// ---- damaged journals, journals of one picture, the picture's stamp, the export's folder ---------

namespace {

QByteArray Damaged(const QByteArray& text, const char* how) {
    const std::string kind = how;
    if (kind == "cut in half")
        return text.left(text.size() / 2);
    if (kind == "a flipped digit") { // the last digit of the first point
        QByteArray changed = text;
        const qsizetype point = changed.indexOf("\npoints ") + 1;
        const qsizetype digit = changed.indexOf('\n', changed.indexOf('\n', point) + 1) - 1;
        changed[digit] = changed[digit] == '0' ? '1' : '0';
        return changed;
    }
    if (kind == "a flipped header byte")
        return "t" + text.mid(1);
    if (kind == "too large")
        return text + QByteArray(RecoveredWork::kReadLimit, '\0');
    return QByteArray(); // empty
}

} // namespace

// A journal that fails its checks is told, with what could be read of it offered, and set aside
// under a new name: never deleted, never offered again.
TEST_F(Recovery, Offer_ADamagedJournalIsToldOfferedWhatCouldBeReadAndSetAside) {
    struct Case {
        const char* how;
        int answer;
        const char* question; // null: nothing could be read, the user is only told
    };
    const Case cases[] = {
        {"a flipped digit", IDYES, kMsgRestoreDamagedWork},
        {"cut in half", IDNO, nullptr},
        {"too large", IDYES, kMsgRestoreDamagedWork},
        {"a flipped header byte", IDOK, nullptr},
        {"empty", IDOK, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QDir(RecoveryFolder::Path()).removeRecursively();
        const CString chart = Chart("a.bmp");
        ASSERT_TRUE(Start({chart}));
        Place({20, 30});
        Place({40, 30});
        Place({60, 30});
        const QString orphan = LeaveAsIfKilled();
        {
            const QByteArray damaged = Damaged(ReadAll(orphan), c.how);
            QFile file(orphan);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(damaged);
        }
        const RecoveredWork::Reading reading = RecoveredWork::Examine(orphan);
        ASSERT_FALSE(reading.whole);
        const char* question = c.question;
        if (question == nullptr && reading.HasWork())
            question = kMsgRestoreDamagedWork;
        m_host.AnswerMessageBox(c.answer);
        ASSERT_TRUE(Start());
        ASSERT_EQ(m_host.messages.size(), 1u);
        const QString aside = orphan + ".damaged";
        EXPECT_TRUE(QFileInfo::exists(aside));
        EXPECT_FALSE(QFileInfo::exists(orphan));
        CString where;
        where.Format(kMsgDamagedJournalKept, QDir::toNativeSeparators(aside).toUtf8().constData());
        const QString name = reading.pictureKnown ? QString("a.bmp") : QString(kUnknownPicture);
        CString expected = Text(question != nullptr ? question : kMsgDamagedWorkUnreadable, name,
                                reading.work.PointCount());
        expected += "\n" + where;
        EXPECT_EQ(m_host.messages[0].text, expected);
        const int points = Doc() != nullptr ? Doc()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize() : 0;
        EXPECT_EQ(points, c.answer == IDYES ? reading.work.PointCount() : 0);
        if (c.answer == IDYES) {
            EXPECT_GE(points, 1);
        }
        Restart();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(m_host.messages.empty()) << "not offered again";
        Restart();
    }
}

// Two journals of one picture say when each was last changed, so that the user can tell them apart.
TEST_F(Recovery, Offer_JournalsOfOnePictureNameTheirLastChange) {
    const CString chart = Chart("a.bmp");
    std::vector<RecoveredWork> works;
    std::vector<QString> orphans;
    const char* ids[] = {"1001-0000000a", "1002-0000000b"};
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(Start({chart}));
        for (int pick = 0; pick <= run; ++pick)
            Place({20 + 10 * pick, 30});
        orphans.push_back(LeaveAsIfKilled(ids[run]));
        works.push_back(*RecoveredWork::ReadFile(orphans.back()));
        ASSERT_TRUE(QFile::rename(orphans.back(), orphans.back() + ".hold")); // not offered yet
        QTest::qWait(20); // journals written apart in time
    }
    for (int run = 0; run < 2; ++run) {
        const QString& orphan = orphans[static_cast<std::size_t>(run)];
        ASSERT_TRUE(QFile::rename(orphan + ".hold", orphan));
        QFile file(orphan);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::currentDateTime().addSecs(run * 60), QFileDevice::FileModificationTime);
    }
    m_host.AnswerMessageBox(IDCANCEL);
    m_host.AnswerMessageBox(IDCANCEL);
    ASSERT_TRUE(Start());
    ASSERT_EQ(m_host.messages.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const RecoveredWork& work = works[static_cast<std::size_t>(1 - i)]; // newest first
        CString expected = Text(kMsgRestoreWork, "a.bmp", work.PointCount());
        CString note;
        note.Format(kMsgJournalLastChange, QDateTime::fromMSecsSinceEpoch(work.writtenMs)
                                               .toString("yyyy/MM/dd HH:mm:ss")
                                               .toUtf8()
                                               .constData());
        expected += "\n" + note;
        EXPECT_EQ(m_host.messages[static_cast<std::size_t>(i)].text, expected) << i;
    }
}

// The picture the points were picked on is the file as it was opened: one replaced before the
// first change is said to have changed, whether it came on the command line or was opened later.
TEST_F(Recovery, Offer_APictureReplacedBeforeTheFirstChangeIsSaidToHaveChanged) {
    for (const bool openedLater : {false, true}) {
        SCOPED_TRACE(openedLater);
        QDir(RecoveryFolder::Path()).removeRecursively();
        const CString a = Chart("a.bmp");
        const CString b = Chart("b.bmp");
        ASSERT_TRUE(Start({a}));
        if (openedLater) {
            ASSERT_NE(theApp.OpenDocumentFile(b), nullptr);
        }
        const char* name = openedLater ? "b.bmp" : "a.bmp";
        QTest::qWait(20);
        Chart(name, Qt::yellow); // replaced between the open and the first change
        Place({20, 30});
        LeaveAsIfKilled();
        m_host.AnswerMessageBox(IDCANCEL);
        ASSERT_TRUE(Start({openedLater ? b : a}));
        ASSERT_EQ(m_host.messages.size(), 1u);
        EXPECT_EQ(m_host.messages[0].text, Text(kMsgRestoreWorkPictureChanged, name, 1));
        Restart();
    }
}

namespace {
std::vector<std::pair<std::string, QString>> g_steps;
void RecordStep(const char* step, const QString& path) {
    g_steps.emplace_back(step, QFileInfo(path).absoluteFilePath());
}
} // namespace

// The export's new name reaches the disk (its folder flushed) before the journal goes.
TEST_F(Recovery, Export_TheFileIsOnDiskBeforeTheJournalGoes) {
    const CString chart = Chart("a.bmp");
    ASSERT_TRUE(Start({chart}));
    Place({20, 30});
    ASSERT_TRUE(QTest::qWaitFor([] { return Doc()->GetJournal()->Journal().Exists(); }, 5000));
    const QString journal = QFileInfo(Doc()->GetJournal()->Journal().Path()).absoluteFilePath();
    const QString out = Out("out.dat");
    g_steps.clear();
    RecoveryFolder::observerForTesting = RecordStep;
    m_host.AnswerFileDialog(CString(out.toUtf8().constData()));
    Command(ID_DATA_SAVE);
    RecoveryFolder::observerForTesting = nullptr;
    const auto at = [](const std::string& step, const QString& path) {
        return std::find(g_steps.begin(), g_steps.end(), std::make_pair(step, path)) - g_steps.begin();
    };
    const auto synced = at("sync", QFileInfo(out).absolutePath());
    const auto removed = at("remove", journal);
    ASSERT_LT(removed, static_cast<std::ptrdiff_t>(g_steps.size())) << "the journal went";
    EXPECT_LT(synced, removed) << "the export's folder flushed first";
}

// A kept copy whose file was finished, or written since, is not offered: it is set aside and the
// status bar says where. One whose file was cut short is offered with the file's time and size.
TEST_F(Recovery, InPlaceExport_AKeptCopyIsOfferedOnlyWhileTheFileHoldsWhatTheCutLeft) {
    const QByteArray previous = "Pixcel Value\r\nprevious\r\n";
    const QByteArray fresh = "Pixcel Value\r\nthe new contents\r\n";
    for (const bool finished : {false, true}) {
        SCOPED_TRACE(finished);
        const QString target = m_files.Write("earlier.dat", previous);
        QString copy = KeptFile::Keep(target, previous);
        ASSERT_FALSE(copy.isEmpty());
        KeptFile::AddNew(copy, fresh.constData(), fresh.size());
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.resize(0);
            file.write(finished ? fresh : fresh.left(5));
        }
        if (finished)
            KeptFile::MarkDone(copy);
        const QString orphan = QDir(RecoveryFolder::Path()).filePath("4242-0badc0de-1.kept");
        ASSERT_TRUE(QFile::rename(copy, orphan));
        // Read now: QFileInfo stats lazily, and putting the copy back rewrites the file.
        const QString cutAt = QFileInfo(target).lastModified().toString("yyyy/MM/dd HH:mm:ss");
        if (!finished)
            m_host.AnswerMessageBox(IDYES);
        ASSERT_TRUE(Start());
        if (finished) {
            EXPECT_TRUE(m_host.messages.empty());
            EXPECT_EQ(ReadAll(target), fresh) << "never rolled back";
            EXPECT_TRUE(QFileInfo::exists(orphan + ".outdated"));
            CString note;
            note.Format(kMsgKeptFileSetAside, QDir::toNativeSeparators(target).toUtf8().constData(),
                        QDir::toNativeSeparators(orphan + ".outdated").toUtf8().constData());
            EXPECT_EQ(StatusText(), note);
        } else {
            ASSERT_EQ(m_host.messages.size(), 1u);
            CString question;
            question.Format(kMsgPutBackKeptFile, QDir::toNativeSeparators(target).toUtf8().constData());
            CString state;
            state.Format(kMsgKeptFileState, cutAt.toUtf8().constData(),
                         5LL, static_cast<long long>(previous.size()));
            EXPECT_EQ(m_host.messages[0].text, question + "\n" + state);
            EXPECT_EQ(ReadAll(target), previous);
            EXPECT_FALSE(QFileInfo::exists(orphan));
        }
        Restart();
    }
}
