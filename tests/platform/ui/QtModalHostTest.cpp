// The program's own modal host on real Qt windows: message boxes as the program shows them.
#include "platform/ui/QtModalHost.h"

#include "../../support/ModalDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

struct SeenBox {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Shows one message box through the host and presses the button with the given role.
int ShowAndPress(UINT type, const char* text, QMessageBox::ButtonRole press, SeenBox& seen) {
    ModalDriver driver([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr)
            return false;
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text();
            if (box->buttonRole(button) == press) {
                QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
            }
        }
        return true;
    });
    QtModalHost host;
    return host.MessageBox(text, "Tallyscope", type);
}

} // namespace

TEST(QtModalHost, MessageBox_YesNoAnswersAndShowsNoIcon) {
    struct Case {
        QMessageBox::ButtonRole press;
        int answer;
    };
    for (const Case& c : {Case{QMessageBox::YesRole, IDYES}, Case{QMessageBox::NoRole, IDNO}}) {
        SeenBox seen;
        EXPECT_EQ(ShowAndPress(MB_YESNO, "全てのデータを消去します。よろしいですか?", c.press, seen),
                  c.answer);
        EXPECT_EQ(seen.text, QString("全てのデータを消去します。よろしいですか?"));
        EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
        EXPECT_EQ(seen.buttons.size(), 2);
        EXPECT_TRUE(seen.buttons.contains("はい(&Y)"));
        EXPECT_TRUE(seen.buttons.contains("いいえ(&N)"));
    }
}

TEST(QtModalHost, MessageBox_OkWithWarningIcon) {
    SeenBox seen;
    EXPECT_EQ(
        ShowAndPress(MB_OK | MB_ICONWARNING, "ファイルを開くことができません", QMessageBox::AcceptRole, seen),
        IDOK);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons.size(), 1);
}

TEST(QtModalHost, PrintSetup_AsksForThePrinterAndItsPaperOnly) {
    bool shown = false;
    bool asksPageRange = true;
    ModalDriver driver([&](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        if (dialog == nullptr)
            return false;
        shown = true;
        asksPageRange = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        return true;
    });
    QtModalHost host;
    EXPECT_EQ(host.PrintSetup(), IDCANCEL);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(asksPageRange);
}
