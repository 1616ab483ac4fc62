#include "DialogDriver.h"

#include "platform/res/ControlWidgets.h"
#include "platform/res/DialogBuilder.h"
#include "platform/ui/CDialog.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

QWidget* DialogDriver::Control(int id) const {
    QWidget* window = m_dialog.GetSafeHwnd();
    QWidget* control = window != nullptr ? AfxFindDialogControl(*window, id) : nullptr;
    if (control == nullptr)
        ADD_FAILURE() << "dialog " << m_dialog.GetTemplateId() << " has no open control " << id;
    return control;
}

void DialogDriver::SetText(int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(Control(id));
    ASSERT_NE(edit, nullptr) << "control " << id << " is no edit";
    edit->setFocus();
    edit->selectAll();
    edit->insert(text);
}

QString DialogDriver::Text(int id) const {
    QWidget* control = Control(id);
    return control != nullptr ? AfxGetWidgetText(control) : QString();
}

void DialogDriver::SetCheck(int id, bool checked) {
    auto* box = qobject_cast<QAbstractButton*>(Control(id));
    ASSERT_NE(box, nullptr) << "control " << id << " is no button";
    if (box->isChecked() != checked)
        box->click();
}

bool DialogDriver::IsChecked(int id) const {
    auto* box = qobject_cast<QAbstractButton*>(Control(id));
    return box != nullptr && box->isChecked();
}

QStringList DialogDriver::Lines(int listId) const {
    QStringList lines;
    if (auto* list = qobject_cast<QListWidget*>(Control(listId)))
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
    return lines;
}

void DialogDriver::SelectLine(int listId, int index) {
    auto* list = qobject_cast<QListWidget*>(Control(listId));
    ASSERT_NE(list, nullptr) << "control " << listId << " is no list";
    ASSERT_LT(index, list->count());
    list->scrollToItem(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

void DialogDriver::DoubleClickLine(int listId, int index) {
    auto* list = qobject_cast<QListWidget*>(Control(listId));
    ASSERT_NE(list, nullptr) << "control " << listId << " is no list";
    ASSERT_LT(index, list->count());
    list->scrollToItem(list->item(index));
    const QPoint centre = list->visualItemRect(list->item(index)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

bool DialogDriver::PressOK() {
    return Press(IDOK);
}

bool DialogDriver::PressCancel() {
    return Press(IDCANCEL);
}

bool DialogDriver::Press(int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(id));
    if (button == nullptr)
        return m_dialog.HasEnded();
    button->click();
    return m_dialog.HasEnded();
}

bool DialogDriver::IsOpen() const {
    return m_dialog.GetSafeHwnd() != nullptr && !m_dialog.HasEnded();
}

int DialogDriver::FocusedControlId() const {
    QWidget* window = m_dialog.GetSafeHwnd();
    for (QWidget* focused = window != nullptr ? window->focusWidget() : nullptr;
         focused != nullptr && focused != window; focused = focused->parentWidget()) {
        if (const int id = AfxGetDialogControlId(*focused); id != IDC_STATIC)
            return id;
    }
    return 0;
}
