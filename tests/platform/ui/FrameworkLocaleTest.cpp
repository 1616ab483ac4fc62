// The framework's own texts in the program's language and face: Qt's Japanese catalogue for the
// file dialogs, the overwrite question and the edit boxes' context menus, the templates' face for
// menus, toolbar tips and status panes.
#include "platform/ui/FrameworkLocale.h"
#include "platform/ui/QtModalHost.h"

#include "../../support/ModalDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>

#include <memory>

namespace {

QStringList ButtonTexts(const QWidget& window) {
    QStringList texts;
    for (const QDialogButtonBox* box : window.findChildren<QDialogButtonBox*>())
        for (const QAbstractButton* button : box->buttons())
            texts << button->text();
    return texts;
}

} // namespace

TEST(FrameworkLocale, MenusAndPanesUseTheTemplatesFace) {
    ASSERT_TRUE(AfxApplyFrameworkLocale()) << "Qt's Japanese catalogue is not installed";
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "IPAPGothic");
    EXPECT_EQ(QApplication::font().pointSize(), 9);
}

TEST(FrameworkLocale, EditBoxContextMenuSpeaksJapanese) {
    ASSERT_TRUE(AfxApplyFrameworkLocale());
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text().section('\t', 0, 0);
    for (const char* expected :
         {"元に戻す(&U)", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "すべてを選択"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected)))
            << expected << " in " << texts.join('|').toStdString();
}

// Open and save dialogs as the program shows them: the framework's titles when the caller gives
// none, and Qt's dialog in Japanese down to the question before a file is replaced.
TEST(FrameworkLocale, FileDialogsSpeakJapaneseUnderTheFrameworksTitles) {
    ASSERT_TRUE(AfxApplyFrameworkLocale());
    QTemporaryDir dir;
    QFile existing(dir.filePath("old.dat"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    struct Case {
        bool openFile;
        const char* title;
        QStringList buttons;
    };
    const Case cases[] = {
        {true, "開く", {"開く(&O)", "キャンセル"}},
        {false, "名前を付けて保存", {"保存(&S)", "キャンセル"}},
    };
    QtModalHost host;
    for (const Case& c : cases) {
        QString title;
        QStringList buttons;
        QStringList labels;
        QString question;
        QStringList questionButtons;
        ModalDriver driver([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                question = box->text();
                for (const QAbstractButton* button : box->buttons())
                    questionButtons << button->text();
                box->button(QMessageBox::Yes)->click();
                return true;
            }
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr)
                return false;
            title = dialog->windowTitle();
            buttons = ButtonTexts(*dialog);
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                labels << label->text();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(existing.fileName());
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return true;
        });
        FileDialogRequest request;
        request.openFile = c.openFile;
        request.flags = c.openFile ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT;
        request.filter = "データファイル (*.dat)|*.dat||";
        CString chosen;
        ASSERT_EQ(host.FileDialog(request, chosen), IDOK) << c.title;
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_EQ(buttons, c.buttons) << c.title;
        EXPECT_TRUE(labels.contains("ファイル名(&N):")) << labels.join('|').toStdString();
        EXPECT_TRUE(labels.contains("ファイルの種類:")) << labels.join('|').toStdString();
        if (c.openFile) {
            EXPECT_TRUE(question.isEmpty());
        } else {
            EXPECT_TRUE(question.contains("は既に存在します")) << question.toStdString();
            EXPECT_EQ(questionButtons, QStringList({"はい(&Y)", "いいえ(&N)"}));
        }
    }
}
