// The ways besides the command line that a picture reaches the main window: a file dropped on it
// from a file manager, and the Open dialog with the folder it starts in.
#include "AppTestFixture.h"

#include "platform/app/CView.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {
// What the user can see of the document after an attempt to open a file.
struct Outcome {
    std::vector<std::string> messages;
    CString path;
    bool picture = false;
    int points = 0;
    std::vector<CString> recentFiles;

    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << "{path " << outcome.path.str() << (outcome.picture ? ", a picture, " : ", no picture, ")
         << outcome.points << " points, " << outcome.messages.size() << " messages, "
         << outcome.recentFiles.size() << " recent files}";
}

// What a drop did: whether the main window took it, with which action.
struct DropResult {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

CString FolderOf(const CString& path) {
    return CString(QFileInfo(QString::fromUtf8(path.GetString())).absolutePath().toUtf8().constData());
}

CString CurrentFolder() {
    return CString(QDir::currentPath().toUtf8().constData());
}

QMimeData* FileUrls(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}
} // namespace

class OpeningTest : public AppTest {
protected:
    // Drags the data over the middle of the picture view and lets go, as a file manager does: Qt
    // hands the events to the first widget up from the view that accepts drops. Then runs what
    // the drop left queued.
    DropResult Drop(QMimeData* data, Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction,
                    Qt::DropAction proposed = Qt::MoveAction) {
        std::unique_ptr<QMimeData> owned(data);
        QWidget* target = MainFrame()->GetActiveView()->GetInputWidget();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, offered, data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(proposed);
        QApplication::sendEvent(target, &enter);
        DropResult result;
        if (enter.isAccepted()) {
            QDropEvent drop(QPointF(at), offered, data, Qt::LeftButton, Qt::NoModifier);
            drop.setDropAction(proposed);
            QApplication::sendEvent(target, &drop);
            result = {drop.isAccepted(), drop.dropAction()};
        } else {
            QDragLeaveEvent leave;
            QApplication::sendEvent(target, &leave);
        }
        QCoreApplication::sendPostedEvents();
        return result;
    }

    // Opens through the Open dialog, as the user chooses the file there.
    void OpenThroughDialog(const CString& path) {
        m_host.AnswerFileDialog(path);
        MainFrame()->ExecuteCommand(ID_FILE_OPEN);
    }

    Outcome Observe() const {
        Outcome outcome;
        for (const auto& message : m_host.messages)
            outcome.messages.push_back(message.text.str());
        CTallyscopeDoc* doc = Document();
        outcome.path = doc->GetPathName();
        outcome.picture = doc->m_pPicture != nullptr;
        for (int i = 0; i < doc->m_DataSeries.m_aSeries.GetSize(); ++i)
            outcome.points += static_cast<int>(doc->m_DataSeries.m_aSeries[i]->m_aData.GetSize());
        for (int i = 0; i < theApp.m_pRecentFileList->GetCount(); ++i)
            outcome.recentFiles.push_back((*theApp.m_pRecentFileList)[i]);
        return outcome;
    }

    // The folder the next Open dialog starts in (the dialog is cancelled).
    CString NextOpenDialogFolder() {
        m_host.AnswerFileDialog(std::nullopt);
        MainFrame()->ExecuteCommand(ID_FILE_OPEN);
        return m_host.fileDialogs.back().initialDir;
    }
};

// A dropped file takes the Open dialog's own road: the same checks and messages, the same document
// state and recent-file entry, for a picture and for a file that is no picture alike.
TEST_F(OpeningTest, Drop_OneFileOpensExactlyAsTheOpenDialogWould) {
    const CString first = Picture("first.bmp");
    const struct {
        const char* name;
        QByteArray damagedContents; // empty: a real picture
    } cases[] = {{"dropped.jpg", {}}, {"damaged.jpg", "\xFF\xD8\xFF not really a JPEG"}};
    for (const auto& c : cases) {
        const CString file = c.damagedContents.isEmpty()
                                 ? Picture(c.name)
                                 : CString(m_files.Write(c.name, c.damagedContents).toUtf8().constData());
        Outcome outcomes[2];
        for (int route = 0; route < 2; ++route) {
            ASSERT_TRUE(Start({first}));
            m_host.messages.clear();
            if (!c.damagedContents.isEmpty())
                m_host.AnswerMessageBox(IDOK);
            if (route == 0) {
                OpenThroughDialog(file);
            } else {
                const DropResult dropped = Drop(FileUrls({QString::fromUtf8(file.GetString())}));
                EXPECT_TRUE(dropped.accepted) << c.name;
                // Taken as a copy even when the file manager proposes a move, or it would delete
                // the user's file once the drop is over.
                EXPECT_EQ(dropped.action, Qt::CopyAction) << c.name;
            }
            outcomes[route] = Observe();
            theApp.ExitInstance();
            DeleteDestroyedWindows();
            // The next route starts from the same, empty recent-file list.
            theApp.WriteProfileString("Recent File List", nullptr, nullptr);
        }
        EXPECT_EQ(outcomes[1], outcomes[0]) << c.name;
        if (c.damagedContents.isEmpty()) {
            EXPECT_EQ(outcomes[1].path, file);
            EXPECT_TRUE(outcomes[1].picture);
            ASSERT_FALSE(outcomes[1].recentFiles.empty());
            EXPECT_EQ(outcomes[1].recentFiles.front(), file);
        } else {
            EXPECT_EQ(outcomes[1].messages.size(), 1u) << c.name;
        }
    }
}

// Whatever is not one file is refused as it arrives over the window, and the picture, the picked
// points and the recent files stay as they were.
TEST_F(OpeningTest, Drop_AnythingButOneFileChangesNothing) {
    const CString kept = Picture("kept.bmp");
    const QString other = QString::fromUtf8(Picture("other.bmp").GetString());
    const QString another = QString::fromUtf8(Picture("another.jpg").GetString());
    QTemporaryDir folder;
    ASSERT_TRUE(Start({kept}));
    Document()->m_DataSeries.AddData(3, 4);
    Document()->m_DataSeries.AddData(5, 6);
    const Outcome before = Observe();

    const struct {
        const char* what;
        std::function<QMimeData*()> data;
        Qt::DropActions offered;
    } cases[] = {
        {"two pictures",
         [&] {
             return FileUrls({other, another});
         },
         Qt::CopyAction},
        {"a folder", [&] { return FileUrls({folder.path()}); }, Qt::CopyAction},
        {"a file that is not there", [&] { return FileUrls({m_files.Path("gone.bmp")}); }, Qt::CopyAction},
        {"plain text naming a picture",
         [&] {
             auto* data = new QMimeData;
             data->setText(other);
             return data;
         },
         Qt::CopyAction},
        {"a web address",
         [] {
             auto* data = new QMimeData;
             data->setUrls({QUrl("https://example.org/chart.bmp")});
             return data;
         },
         Qt::CopyAction},
        {"a picture that may only be moved", [&] { return FileUrls({other}); }, Qt::MoveAction},
    };
    for (const auto& c : cases) {
        const DropResult dropped = Drop(c.data(), c.offered, Qt::CopyAction);
        EXPECT_FALSE(dropped.accepted) << c.what;
        EXPECT_EQ(Observe(), before) << c.what;
    }
}

// A modal window may be working on the document (the point list, a question); a drop meanwhile
// is refused rather than pulling the document away from under it.
TEST_F(OpeningTest, Drop_RefusedWhileAModalWindowIsUp) {
    const CString kept = Picture("kept.bmp");
    const QString other = QString::fromUtf8(Picture("other.bmp").GetString());
    ASSERT_TRUE(Start({kept}));
    Document()->m_DataSeries.AddData(3, 4);
    const Outcome before = Observe();

    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &modal);
    EXPECT_FALSE(Drop(FileUrls({other})).accepted);
    EXPECT_EQ(Observe(), before);

    modal.hide();
    EXPECT_TRUE(Drop(FileUrls({other})).accepted);
    EXPECT_EQ(Document()->GetPathName(), CString(other.toUtf8().constData()));
}

// The first Open dialog starts where the open picture is, the command line's included, or in the
// current folder without one; once it has given a file, it starts in that file's folder.
TEST_F(OpeningTest, OpenDialog_StartsInThePicturesFolderThenWhereItLastGaveAFile) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(NextOpenDialogFolder(), CurrentFolder());
    theApp.ExitInstance();

    const CString onCommandLine = Picture("start.bmp");
    ASSERT_TRUE(Start({onCommandLine}));
    EXPECT_EQ(NextOpenDialogFolder(), FolderOf(onCommandLine));
    EXPECT_EQ(NextOpenDialogFolder(), FolderOf(onCommandLine))
        << "a cancelled dialog leaves nothing to remember";

    TestFiles elsewhere;
    const CString chosen(elsewhere.Save(MakeTestImage(8, 8), "chosen.bmp").toUtf8().constData());
    OpenThroughDialog(chosen);
    ASSERT_EQ(Document()->GetPathName(), chosen);
    TestFiles thirdFolder;
    ASSERT_TRUE(Drop(FileUrls({thirdFolder.Save(MakeTestImage(8, 8), "dropped.bmp")})).accepted);
    EXPECT_EQ(NextOpenDialogFolder(), FolderOf(chosen));

    // A new run starts afresh.
    theApp.ExitInstance();
    ASSERT_TRUE(Start());
    EXPECT_EQ(NextOpenDialogFolder(), CurrentFolder());
}

TEST_F(OpeningTest, OpenDialog_AFolderRemovedSinceIsPassedOver) {
    auto folder = std::make_unique<QTemporaryDir>();
    const CString picture(folder->filePath("chart.bmp").toUtf8().constData());
    ASSERT_TRUE(MakeTestImage(8, 8).save(QString::fromUtf8(picture.GetString())));
    ASSERT_TRUE(Start({picture}));
    folder.reset();
    EXPECT_EQ(NextOpenDialogFolder(), CurrentFolder());
}
