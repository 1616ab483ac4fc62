#pragma once
// Works an open dialog's real controls by id, as a user would: types into edits, ticks boxes,
// picks and double-clicks list lines, presses OK or Cancel. Pressing OK runs the dialog's own
// OnOK, so a field that does not parse keeps the dialog open. Used from ScriptedModalHost scripts.

#include <QString>
#include <QStringList>

class CDialog;
class QWidget;

class DialogDriver {
public:
    explicit DialogDriver(CDialog& dialog) : m_dialog(dialog) {}

    CDialog& Dialog() const { return m_dialog; }
    // The control widget; a missing control fails the test and answers null.
    QWidget* Control(int id) const;

    // Replaces an edit's text (the edit reports the change).
    void SetText(int id, const QString& text);
    QString Text(int id) const;
    // Clicks a check box when its state differs from the one asked for.
    void SetCheck(int id, bool checked);
    bool IsChecked(int id) const;

    QStringList Lines(int listId) const;
    void SelectLine(int listId, int index);
    // Selects the line with the mouse and double-clicks it.
    void DoubleClickLine(int listId, int index);

    // Clicks the button; true when the dialog has ended.
    bool PressOK();
    bool PressCancel();
    bool IsOpen() const;

    // The id of the control that has the focus in the dialog, or 0 when none has.
    int FocusedControlId() const;

private:
    bool Press(int id);

    CDialog& m_dialog;
};
