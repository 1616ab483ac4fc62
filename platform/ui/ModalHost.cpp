#include "platform/ui/ModalHost.h"

#include <QFileInfo>

namespace {
ModalHost* g_installedHost = nullptr;
const char* g_appName = "Tallyscope";

// Stands in until start-up installs the program's host: a process with nobody to answer (a benchmark,
// a fuzz target) cancels every question rather than wait for a window nobody will see.
class UnattendedModalHost final : public ModalHost {
public:
    int MessageBox(const CString&, const CString&, UINT) override { return IDCANCEL; }
    int FileDialog(const FileDialogRequest&, CString&) override { return IDCANCEL; }
    INT_PTR DoModal(CDialog&) override { return IDCANCEL; }
    int PrintSetup() override { return IDCANCEL; }
};
} // namespace

ModalHost& AfxGetModalHost() {
    static UnattendedModalHost unattended;
    return g_installedHost != nullptr ? *g_installedHost : unattended;
}

ModalHost* AfxSetModalHost(ModalHost* host) {
    ModalHost* previous = g_installedHost;
    g_installedHost = host;
    return previous;
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
    return AfxGetModalHost().MessageBox(lpszText, g_appName, nType);
}

QStringList AfxQtFileFilters(const CString& filter) {
    const QStringList parts = QString::fromUtf8(filter.GetString()).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        // Extensions are matched case-sensitively here, unlike on the system the filters were
        // written for, so "*.bmp" also offers "*.BMP".
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            patterns << (pattern == "*.*" ? QStringLiteral("*") : pattern);
            if (pattern != "*.*" && pattern.toUpper() != pattern)
                patterns << pattern.toUpper();
        }
        entries << QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(' '));
    }
    return entries;
}

CString AfxApplyDefaultExtension(const CString& path, const CString& defaultExt) {
    if (defaultExt.IsEmpty() || path.IsEmpty())
        return path;
    const QString fileName = QFileInfo(QString::fromUtf8(path.GetString())).fileName();
    if (fileName.contains('.'))
        return path;
    return path + "." + defaultExt;
}
