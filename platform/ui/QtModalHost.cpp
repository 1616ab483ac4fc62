#include "platform/ui/QtModalHost.h"

#include "platform/core/AfxStandardIds.h"
#include "platform/res/AfxResource.h"
#include "platform/ui/CDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

QtModalHost::QtModalHost() = default;
QtModalHost::~QtModalHost() = default;

int QtModalHost::MessageBox(const CString& text, const CString& caption, UINT nType) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromUtf8(caption.GetString()));
    box.setText(QString::fromUtf8(text.GetString()));
    switch (nType & MB_ICONMASK) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    const bool yesNo = (nType & MB_TYPEMASK) == MB_YESNO;
    const bool yesNoCancel = (nType & MB_TYPEMASK) == MB_YESNOCANCEL;
    const bool okCancel = (nType & MB_TYPEMASK) == MB_OKCANCEL;
    if (yesNo || yesNoCancel) {
        box.setStandardButtons(yesNoCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                           : QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        if (yesNoCancel)
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    } else if (okCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int answer = box.exec();
    // The program was asked to end while the question was open (its loop was left, no button
    // pressed): nothing is done on the user's behalf.
    if (box.clickedButton() == nullptr)
        return IDCANCEL;
    switch (answer) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

int QtModalHost::FileDialog(const FileDialogRequest& request, CString& chosenPath) {
    QFileDialog dialog(QApplication::activeWindow());
    // Qt's own dialog speaks the program's language (FrameworkLocale.h); a desktop's native one
    // would speak the desktop's.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(request.openFile ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(request.openFile ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(AfxQtFileFilters(request.filter));
    // The list shows each entry's name as the program wrote it ("All Files (*.*)"), not the
    // patterns Qt matches with.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (!request.defaultExt.IsEmpty())
        dialog.setDefaultSuffix(QString::fromUtf8(request.defaultExt.GetString()));
    if (!request.initialDir.IsEmpty())
        dialog.setDirectory(QString::fromUtf8(request.initialDir.GetString()));
    if (!request.fileName.IsEmpty())
        dialog.selectFile(QString::fromUtf8(request.fileName.GetString()));
    // Without a title of its own, a file dialog is titled as the system's common dialog is.
    const CString title = !request.title.IsEmpty()
                              ? request.title
                              : AfxLoadString(request.openFile ? AFX_IDS_OPENFILE : AFX_IDS_SAVEFILE);
    dialog.setWindowTitle(QString::fromUtf8(title.GetString()));
    // QFileDialog asks before replacing a file unless told not to; keep that exactly when asked for.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    chosenPath = dialog.selectedFiles().first().toUtf8().constData();
    return IDOK;
}

// The dialog's window is modal over the active window; a dialog that ends itself while it
// initialises is never shown.
INT_PTR QtModalHost::DoModal(CDialog& dialog) {
    QDialog* window = dialog.CreateModalWindow(QApplication::activeWindow());
    if (window == nullptr)
        return -1;
    dialog.InitModalWindow();
    if (!dialog.HasEnded())
        window->exec();
    const INT_PTR result = dialog.HasEnded() ? dialog.GetModalResult() : IDCANCEL;
    dialog.DestroyModalWindow();
    return result;
}

// The printer and its paper only: nothing is printed from here, so there is no page range to ask.
int QtModalHost::PrintSetup() {
    if (m_printer == nullptr)
        m_printer = std::make_unique<QPrinter>();
    QPrintDialog dialog(m_printer.get(), QApplication::activeWindow());
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
