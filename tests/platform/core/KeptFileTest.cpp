// The copy of a file rewritten in place: read back whole, and put back only while the file holds
// what the cut-short rewrite left.
#include "platform/core/KeptFile.h"
#include "platform/core/RecoveryFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Rewrites the file's bytes without giving it a new inode, as an in-place export does.
void RewriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(0);
    file.write(bytes);
}

} // namespace

TEST(KeptFile, StateOfTarget_OnlyWhatTheCutRewriteLeftMayBePutBack) {
    QTemporaryDir state;
    const QByteArray outer = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toUtf8());
    QTemporaryDir files;
    const QString target = files.filePath("out.dat");
    const QByteArray previous = "previous contents\r\n";
    const QByteArray fresh = "the new contents, longer than before\r\n";
    struct Case {
        const char* name;
        std::function<void(const QString& copy)> after; // what happened after the copy was kept
        KeptFile::TargetState state;
    };
    const Case cases[] = {
        {"untouched", [](const QString&) {}, KeptFile::TargetState::Previous},
        {"emptied", [&](const QString&) { RewriteInPlace(target, ""); }, KeptFile::TargetState::CutShort},
        {"cut after the first block",
         [&](const QString& copy) {
             KeptFile::AddNew(copy, fresh.constData(), 10);
             RewriteInPlace(target, fresh.left(10));
             KeptFile::AddNew(copy, fresh.constData() + 10, fresh.size() - 10);
         },
         KeptFile::TargetState::CutShort},
        {"all written, not yet done",
         [&](const QString& copy) {
             KeptFile::AddNew(copy, fresh.constData(), fresh.size());
             RewriteInPlace(target, fresh);
         },
         KeptFile::TargetState::CutShort},
        {"finished",
         [&](const QString& copy) {
             KeptFile::AddNew(copy, fresh.constData(), fresh.size());
             RewriteInPlace(target, fresh);
             KeptFile::MarkDone(copy);
         },
         KeptFile::TargetState::Other},
        {"rewritten in place by someone else",
         [&](const QString& copy) {
             KeptFile::AddNew(copy, fresh.constData(), 10);
             RewriteInPlace(target, "something else entirely");
         },
         KeptFile::TargetState::Other},
        {"replaced by another export",
         [&](const QString&) {
             WriteFile(target + ".new", previous);
             QFile::remove(target);
             QFile::rename(target + ".new", target);
         },
         KeptFile::TargetState::Other},
        {"removed", [&](const QString&) { QFile::remove(target); }, KeptFile::TargetState::Other},
        {"a block cut by a crash in the copy",
         [&](const QString& copy) {
             KeptFile::AddNew(copy, fresh.constData(), 10);
             RewriteInPlace(target, fresh.left(10));
             QFile file(copy);
             file.open(QIODevice::Append);
             file.write("new 500\nshort");
         },
         KeptFile::TargetState::CutShort},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(target, previous);
        const QString copy = KeptFile::Keep(target, previous);
        ASSERT_FALSE(copy.isEmpty());
        c.after(copy);
        const std::optional<KeptFile> kept = KeptFile::Read(copy);
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(kept->contents, previous);
        EXPECT_EQ(kept->StateOfTarget(), c.state);
        QFile::remove(copy);
    }
    qputenv("XDG_STATE_HOME", outer);
}

TEST(KeptFile, Read_OnlyAWholeCopy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.kept");
    const QByteArray target = QByteArray("/home/user/out.dat").toBase64();
    struct Case {
        const char* name;
        QByteArray bytes;
        bool whole;
    };
    const Case cases[] = {
        {"whole", "TallyscopeKeptFile 2\n" + target + "\n1 2\n3\nabc", true},
        {"the first kind", "TallyscopeKeptFile 1\n" + target + "\n3\nabc", true},
        {"empty", "", false},
        {"a lone line end", "\n", false},
        {"cut in the previous contents", "TallyscopeKeptFile 2\n" + target + "\n1 2\n3\nab", false},
        {"a size no file holds", "TallyscopeKeptFile 2\n" + target + "\n1 2\n9223372036854775807\nabc", false},
        {"no identity", "TallyscopeKeptFile 2\n" + target + "\n3\nabc", false},
        {"no target", "TallyscopeKeptFile 2\n\n1 2\n3\nabc", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_EQ(KeptFile::Read(path).has_value(), c.whole);
    }
}
