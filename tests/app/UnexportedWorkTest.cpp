// Work that was never exported is not thrown away without a question: closing the main window,
// exiting, and opening another picture by the Open dialog or the recent-file list all ask first.
#include "AppTestFixture.h"

#include "platform/ui/CDialog.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QTest>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

namespace {

class UnexportedWork : public AppTest {
protected:
    // Starts on a.bmp with b.bmp second in the recent-file list.
    void StartOnA() {
        m_pathB = Picture("b.bmp");
        m_pathA = Picture("a.bmp");
        ASSERT_TRUE(Start({m_pathB}));
        ASSERT_NE(theApp.OpenDocumentFile(m_pathA), nullptr);
        MainFrame()->OnIdleUpdateCmdUI();
    }
    static CTallyscopeView* View() { return static_cast<CTallyscopeView*>(MainFrame()->GetActiveView()); }
    static void Click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(View()->GetInputWidget(), Qt::LeftButton, modifiers, at);
    }
    static void PickPoint() { Click({12, 8}, Qt::ShiftModifier); }
    static int PointCount() { return Document()->m_DataSeries.GetCurrentSeries()->m_aData.GetSize(); }
    CString Out(const char* name) { return CString(m_files.Path(name).toUtf8().constData()); }
    void Restart() {
        theApp.ExitInstance();
        DeleteDestroyedWindows();
        m_host.messages.clear();
        m_host.fileDialogs.clear();
    }

    // Opens the point list, double-clicks its first line and confirms the point edit, with a new x
    // when one is given.
    static void EditFirstListedPoint(ScriptedModalHost& host, const char* newX) {
        host.AnswerDialog([](DialogDriver& list) {
            list.DoubleClickLine(IDC_PIXEL_LIST, 0);
            list.PressOK();
        });
        host.AnswerDialog([newX](DialogDriver& edit) {
            if (newX != nullptr)
                edit.SetText(IDC_EDIT_X, newX);
            edit.PressOK();
        });
        MainFrame()->ExecuteCommand(ID_DATA_SHOW);
    }

    CString m_pathA;
    CString m_pathB;
};

// The four ways the open picture can go.
struct Route {
    const char* name;
    bool opensWithTheDialog; // the Open dialog comes before the question
    std::function<void()> act;
    // Whether the picture, with its points, has gone (closed or replaced by b.bmp).
    std::function<bool(const CString& pathB)> pictureWent;
};

CMainFrame* Frame() {
    return dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
}
bool Closed(const CString&) {
    return Frame() == nullptr;
}
bool ReplacedByB(const CString& pathB) {
    return Frame() != nullptr && Frame()->GetActiveDocument()->GetPathName() == pathB;
}

const Route kRoutes[] = {
    {"close box", false, [] { Frame()->GetFrameWidget()->close(); }, Closed},
    {"exit command", false, [] { Frame()->ExecuteCommand(ID_APP_EXIT); }, Closed},
    {"Open dialog", true, [] { Frame()->ExecuteCommand(ID_FILE_OPEN); }, ReplacedByB},
    {"recent file", false, [] { Frame()->GetCommandAction(ID_FILE_MRU_FILE1 + 1)->trigger(); }, ReplacedByB},
};

} // namespace

TEST_F(UnexportedWork, Question_EachRouteWithEachAnswer) {
    enum class Answer { YesExported, YesExportCancelled, YesExportFailed, No, Cancel };
    struct Case {
        Answer answer;
        const char* name;
        bool goesOn; // the close or open happens
        bool fileWritten;
    };
    const Case answers[] = {
        {Answer::YesExported, "Yes, export confirmed", true, true},
        {Answer::YesExportCancelled, "Yes, export cancelled", false, false},
        {Answer::YesExportFailed, "Yes, export failed", false, false},
        {Answer::No, "No", true, false},
        {Answer::Cancel, "Cancel", false, false},
    };
    int run = 0;
    for (const Route& route : kRoutes) {
        for (const Case& c : answers) {
            StartOnA();
            SCOPED_TRACE(std::string(route.name) + " / " + c.name);
            PickPoint();
            PickPoint();
            const CString out = Out(("out" + std::to_string(++run) + ".dat").c_str());
            if (route.opensWithTheDialog)
                m_host.AnswerFileDialog(m_pathB);
            m_host.AnswerMessageBox(c.answer == Answer::No       ? IDNO
                                    : c.answer == Answer::Cancel ? IDCANCEL
                                                                 : IDYES);
            if (c.answer == Answer::YesExported)
                m_host.AnswerFileDialog(out);
            if (c.answer == Answer::YesExportCancelled)
                m_host.AnswerFileDialog(std::nullopt);
            if (c.answer == Answer::YesExportFailed) {
                m_host.AnswerFileDialog(Out("missing/out.dat")); // no such folder
                m_host.AnswerMessageBox(IDOK);                   // the export's own failure report
            }
            route.act();
            ASSERT_GE(m_host.messages.size(), 1u);
            EXPECT_EQ(m_host.messages[0].text, "a.bmp のデータは書き出されていません。書き出しますか?");
            EXPECT_EQ(m_host.messages[0].type & MB_TYPEMASK, MB_YESNOCANCEL);
            EXPECT_EQ(route.pictureWent(m_pathB), c.goesOn);
            EXPECT_EQ(QFileInfo::exists(QString::fromUtf8(out.GetString())), c.fileWritten);
            if (!c.goesOn) {
                // Nothing was discarded: the same picture, both points, still unexported, and the
                // recent-file entry that was not opened keeps its place.
                ASSERT_NE(Document(), nullptr);
                EXPECT_EQ(Document()->GetPathName(), m_pathA);
                EXPECT_NE(Document()->m_pPicture, nullptr);
                EXPECT_EQ(PointCount(), 2);
                EXPECT_TRUE(Document()->IsModified());
                ASSERT_EQ(theApp.m_pRecentFileList->GetCount(), 2);
                EXPECT_EQ((*theApp.m_pRecentFileList)[1], m_pathB);
            } else if (Document() != nullptr) {
                EXPECT_EQ(PointCount(), 0);
                EXPECT_FALSE(Document()->IsModified());
            }
            Restart();
        }
    }
}

TEST_F(UnexportedWork, Question_NotAskedWithoutChangesNorAfterAnExport) {
    for (const bool exportFirst : {false, true}) {
        for (const Route& route : kRoutes) {
            StartOnA();
            SCOPED_TRACE(std::string(route.name) + (exportFirst ? " after an export" : " without changes"));
            if (exportFirst) {
                PickPoint();
                m_host.AnswerFileDialog(Out("kept.dat"));
                ASSERT_TRUE(MainFrame()->ExecuteCommand(ID_DATA_SAVE));
                ASSERT_FALSE(Document()->IsModified());
            }
            if (route.opensWithTheDialog)
                m_host.AnswerFileDialog(m_pathB);
            route.act();
            EXPECT_TRUE(m_host.messages.empty());
            EXPECT_TRUE(route.pictureWent(m_pathB));
            Restart();
        }
    }
}

TEST_F(UnexportedWork, Modified_EveryChangeToPointsOrCalibrationAndNothingElse) {
    struct Case {
        const char* name;
        std::function<void(ScriptedModalHost&)> act;
        bool changes;
    };
    const auto command = [](UINT id) {
        return [id](ScriptedModalHost&) { MainFrame()->ExecuteCommand(id); };
    };
    // A command whose dialog is closed with OK or Cancel, nothing edited.
    const auto dialogCommand = [](UINT id, bool pressOK) {
        return [id, pressOK](ScriptedModalHost& host) {
            host.AnswerDialog([pressOK](DialogDriver& d) { pressOK ? d.PressOK() : d.PressCancel(); });
            MainFrame()->ExecuteCommand(id);
        };
    };
    const Case cases[] = {
        {"Shift-click picks", [](ScriptedModalHost&) { PickPoint(); }, true},
        {"Shift+Ctrl-click ends a figure",
         [](ScriptedModalHost&) {
             Click({20, 8}, Qt::ShiftModifier | Qt::ControlModifier);
         },
         true},
        {"origin placed",
         [](ScriptedModalHost&) {
             MainFrame()->ExecuteCommand(ID_AXIS_ORIGIN);
             PickPoint();
         },
         true},
        {"X-axis point placed, value cancelled",
         [](ScriptedModalHost& host) {
             host.AnswerDialog([](DialogDriver& d) { d.PressCancel(); });
             MainFrame()->ExecuteCommand(ID_AXIS_XAXIS);
             PickPoint();
         },
         true},
        {"axis values confirmed", dialogCommand(ID_AXIS_VALUE, true), true},
        {"axis values cancelled", dialogCommand(ID_AXIS_VALUE, false), false},
        {"origin nudged with an arrow key",
         [](ScriptedModalHost&) {
             Click({1, 1});
             QTest::keyClick(View()->GetInputWidget(), Qt::Key_Right);
         },
         true},
        {"plain click only selects",
         [](ScriptedModalHost&) {
             Click({1, 1});
         },
         false},
        {"new series", command(ID_DATA_NEW_SERIES), true},
        {"measurement switches",
         [](ScriptedModalHost&) {
             MainFrame()->ExecuteCommand(ID_MEASURE_LENGTH);
             MainFrame()->ExecuteCommand(ID_MEASURE_AREA);
         },
         false},
        {"delete all, answered No",
         [](ScriptedModalHost& host) {
             host.AnswerMessageBox(IDNO);
             MainFrame()->ExecuteCommand(ID_DATA_DELETE_ALL);
         },
         false},
        {"point list opened and closed", dialogCommand(ID_DATA_SHOW, true), false},
    };
    for (const Case& c : cases) {
        StartOnA();
        c.act(m_host);
        EXPECT_EQ(Document()->IsModified() != FALSE, c.changes) << c.name;
        Restart();
    }

    // Changes to points that exist: deleting and retyping them. Each starts from an exported state.
    struct PointCase {
        const char* name;
        std::function<void(ScriptedModalHost&)> act;
        bool changes;
    };
    const PointCase pointCases[] = {
        {"delete the latest", command(ID_DATA_DELETE_LAST), true},
        {"delete all, answered Yes",
         [](ScriptedModalHost& host) {
             host.AnswerMessageBox(IDYES);
             MainFrame()->ExecuteCommand(ID_DATA_DELETE_ALL);
         },
         true},
        {"retyped in the point list", [](ScriptedModalHost& host) { EditFirstListedPoint(host, "77"); },
         true},
        {"point edit confirmed unchanged",
         [](ScriptedModalHost& host) { EditFirstListedPoint(host, nullptr); }, false},
    };
    for (const PointCase& c : pointCases) {
        StartOnA();
        PickPoint();
        m_host.AnswerFileDialog(Out("kept.dat"));
        MainFrame()->ExecuteCommand(ID_DATA_SAVE);
        ASSERT_FALSE(Document()->IsModified()) << c.name;
        c.act(m_host);
        EXPECT_EQ(Document()->IsModified() != FALSE, c.changes) << c.name;
        Restart();
    }
}

TEST_F(UnexportedWork, Question_FailedOpenAfterNoKeepsThePictureAndItsPoints) {
    StartOnA();
    PickPoint();
    const QString broken = m_files.Write("broken.bmp", "not a picture");
    m_host.AnswerFileDialog(CString(broken.toUtf8().constData()));
    m_host.AnswerMessageBox(IDNO);
    m_host.AnswerMessageBox(IDOK); // the open failure
    MainFrame()->ExecuteCommand(ID_FILE_OPEN);
    ASSERT_EQ(m_host.messages.size(), 2u);
    EXPECT_EQ(m_host.messages[1].text, kMsgOpenFailed);
    EXPECT_EQ(Document()->GetPathName(), m_pathA);
    EXPECT_EQ(PointCount(), 1);
    // Still unexported, so closing still asks.
    EXPECT_TRUE(Document()->IsModified());
}
