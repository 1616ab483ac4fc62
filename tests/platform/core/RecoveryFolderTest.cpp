// The recovery folder: why it cannot take a file, the journal's writes and their reports, and the
// backups of what was let go.
#include "platform/core/RecoveryFolder.h"
#include "platform/core/WorkJournal.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <cerrno>
#include <functional>
#include <mutex>
#include <vector>

namespace {

class RecoveryFolderTest : public ::testing::Test {
protected:
    RecoveryFolderTest() : m_outer(qgetenv("XDG_STATE_HOME")) { qputenv("XDG_STATE_HOME", m_state.path().toUtf8()); }
    ~RecoveryFolderTest() override {
        RecoveryFolder::injectedErrorForTesting = 0;
        qputenv("XDG_STATE_HOME", m_outer);
    }
    QString Folder() const { return QDir(m_state.path()).filePath("tallyscope"); }
    void PutFileInPlaceOfFolder() const {
        QDir(Folder()).removeRecursively();
        QFile file(Folder());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QByteArray m_outer;
    QTemporaryDir m_state;
};

} // namespace

TEST_F(RecoveryFolderTest, Check_NamesTheCauseAndTheFolder) {
    struct Case {
        const char* name;
        std::function<void()> spoil;
        StorageFailure::Cause cause;
    };
    const Case cases[] = {
        {"usable", [] {}, StorageFailure::Cause::None},
        {"a file in its place", [this] { PutFileInPlaceOfFolder(); }, StorageFailure::Cause::NotAFolder},
        {"a file in place of its parent",
         [this] {
             const QString parent = QDir(m_state.path()).filePath("parent");
             QFile file(parent);
             file.open(QIODevice::WriteOnly);
             qputenv("XDG_STATE_HOME", parent.toUtf8());
         },
         StorageFailure::Cause::NotAFolder},
        {"full", [] { RecoveryFolder::injectedErrorForTesting = ENOSPC; }, StorageFailure::Cause::Full},
        {"read-only", [] { RecoveryFolder::injectedErrorForTesting = EROFS; }, StorageFailure::Cause::ReadOnly},
        {"another error", [] { RecoveryFolder::injectedErrorForTesting = EIO; }, StorageFailure::Cause::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
        QDir(Folder()).removeRecursively();
        QFile::remove(Folder());
        c.spoil();
        const StorageFailure failure = RecoveryFolder::Check();
        EXPECT_EQ(failure.cause, c.cause);
        EXPECT_TRUE(failure.folder.endsWith("/tallyscope")) << failure.folder.toStdString();
        EXPECT_TRUE(QDir(QDir::currentPath()).entryList({"*.lock"}).isEmpty()) << "nothing beside the program";
        RecoveryFolder::injectedErrorForTesting = 0;
    }
}

// The folder replaced by a file while the journal runs: every write is reported as failed, none
// leaves a file anywhere else, and once the folder can be made again the journal is there, still
// locked as this program's.
TEST_F(RecoveryFolderTest, Journal_ReportsEachWriteAndComesBackWithTheFolder) {
    std::mutex mutex;
    std::vector<StorageFailure::Cause> reports;
    WorkJournal journal([&](const StorageFailure& failure, long long) {
        const std::lock_guard<std::mutex> lock(mutex);
        reports.push_back(failure.cause);
    });
    journal.Write([] { return QByteArray("one\n"); });
    EXPECT_TRUE(journal.Flush());
    const QString path = journal.Path();
    PutFileInPlaceOfFolder();
    journal.Write([] { return QByteArray("two\n"); });
    EXPECT_FALSE(journal.Flush());
    QFile::remove(Folder());
    journal.Write([] { return QByteArray("three\n"); });
    EXPECT_TRUE(journal.Flush());
    EXPECT_EQ(journal.Path(), path) << "the same name";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "three\n");
    EXPECT_EQ(RecoveryFolder::Orphans("journal"), QStringList()) << "the lock was taken again";
    const std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(reports, (std::vector<StorageFailure::Cause>{StorageFailure::Cause::None,
                                                           StorageFailure::Cause::NotAFolder,
                                                           StorageFailure::Cause::None}));
}

// Every let-go file is kept: the newest under the name the user knows, older ones by time; only
// beyond ten and older than a week do they go. Each reads back as it was let go.
TEST_F(RecoveryFolderTest, KeepAsBackup_KeepsTheLastTenOrAWeek) {
    const QDir folder(RecoveryFolder::Path());
    const auto letGo = [&](int n) {
        const QString path = folder.filePath(QString("1-%1.journal").arg(n));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray::number(n));
        file.close();
        EXPECT_TRUE(RecoveryFolder::KeepAsBackup(path, "journal"));
    };
    const auto backups = [&] { return folder.entryInfoList({"previous*.journal.bak"}, QDir::Files); };
    for (int n = 0; n < 12; ++n)
        letGo(n);
    ASSERT_EQ(backups().size(), 12) << "all from this week";
    QSet<QByteArray> contents;
    for (const QFileInfo& backup : backups()) {
        QFile file(backup.absoluteFilePath());
        file.open(QIODevice::ReadWrite);
        contents.insert(file.readAll());
        file.setFileTime(QDateTime::currentDateTime().addDays(-8), QFileDevice::FileModificationTime);
    }
    EXPECT_EQ(contents.size(), 12) << "none replaced another";
    letGo(12);
    EXPECT_EQ(backups().size(), RecoveryFolder::kBackupCount);
    QFile newest(folder.filePath("previous.journal.bak"));
    ASSERT_TRUE(newest.open(QIODevice::ReadOnly));
    EXPECT_EQ(newest.readAll(), "12");
    EXPECT_TRUE(RecoveryFolder::Orphans("journal").isEmpty()) << "a backup is offered only once renamed";
}
