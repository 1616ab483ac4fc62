#include "platform/ui/ModalHost.h"
#include "platform/ui/QtModalHost.h"

#include "../../support/ModalDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace {

constexpr const char* kDataFilter = "データファイル (*.dat)|*.dat|All Files (*.*)|*.*||";

} // namespace

TEST(FileDialog, DefaultExtension_AddedOnlyToANameWithoutOne) {
    struct Case {
        const char* path;
        const char* ext;
        const char* expected;
    };
    const Case cases[] = {
        {"/data/out", "dat", "/data/out.dat"},
        {"/data.v2/out", "dat", "/data.v2/out.dat"},
        {"/data/out.txt", "dat", "/data/out.txt"},
        {"/data/out.dat", "dat", "/data/out.dat"},
        {"/data/out", "", "/data/out"},
        {"", "dat", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AfxApplyDefaultExtension(c.path, c.ext), c.expected) << c.path << " + " << c.ext;
}

TEST(FileDialog, Filters_FrameworkListBecomesQtEntries) {
    EXPECT_EQ(AfxQtFileFilters(kDataFilter),
              QStringList({"データファイル (*.dat) (*.dat *.DAT)", "All Files (*.*) (*)"}));
    EXPECT_EQ(AfxQtFileFilters("Pictures|*.bmp;*.jpg;*.gif||"),
              QStringList({"Pictures (*.bmp *.BMP *.jpg *.JPG *.gif *.GIF)"}));
    EXPECT_TRUE(AfxQtFileFilters("").isEmpty());
}

// The real Qt dialog: the name typed, the overwrite question, and what the filter list shows.
TEST(FileDialog, QtDialog_TypedNameGetsExtensionAndReplacingAsksFirst) {
    QTemporaryDir dir;
    QFile existing(dir.filePath("old.dat"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    struct Case {
        const char* typed;
        DWORD flags;
        const char* chosen;
        int questions;
    };
    const Case cases[] = {
        {"fresh", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "fresh.dat", 0},
        {"old", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "old.dat", 1},
        {"old", OFN_HIDEREADONLY, "old.dat", 0},
        {"notes.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "notes.txt", 0},
    };
    QtModalHost host;
    for (const Case& c : cases) {
        int questions = 0;
        QStringList shownFilters;
        ModalDriver driver([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                ++questions;
                box->button(QMessageBox::Yes)->click();
                return true;
            }
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr)
                return false;
            if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
                for (int i = 0; i < types->count(); ++i)
                    shownFilters << types->itemText(i);
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(dir.filePath(c.typed));
            // Queued: accepting may open the overwrite question, whose own loop must see this timer.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return true;
        });
        FileDialogRequest request;
        request.openFile = false;
        request.defaultExt = "dat";
        request.flags = c.flags;
        request.filter = kDataFilter;
        CString chosen;
        ASSERT_EQ(host.FileDialog(request, chosen), IDOK) << c.typed;
        EXPECT_EQ(chosen, CString(dir.filePath(c.chosen).toUtf8().constData())) << c.typed;
        EXPECT_EQ(questions, c.questions) << c.typed;
        EXPECT_EQ(shownFilters, QStringList({"データファイル (*.dat)", "All Files (*.*)"}));
    }
}

// The real Qt dialog opens in the folder the request names.
TEST(FileDialog, QtDialog_OpensInTheRequestedFolder) {
    QTemporaryDir dir;
    QtModalHost host;
    QString shownFolder;
    ModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr)
            return false;
        shownFolder = dialog->directory().absolutePath();
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        return true;
    });
    FileDialogRequest request;
    request.initialDir = dir.path().toUtf8().constData();
    request.filter = "Pictures|*.bmp||";
    CString chosen;
    EXPECT_EQ(host.FileDialog(request, chosen), IDCANCEL);
    EXPECT_EQ(shownFolder, QDir(dir.path()).absolutePath());
}
