#include "platform/app/CRecentFileList.h"

#include "platform/core/ProfileStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {
// The longest path shown in full in the File menu.
constexpr int kMaxDisplayLength = 40;

QString FromCString(const CString& text) {
    return QString::fromUtf8(text.GetString());
}
CString ToCString(const QString& text) {
    return CString(text.toUtf8().constData());
}
} // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat),
      m_nSize(std::max(nSize, 0)) {}

CString CRecentFileList::EntryName(int nIndex) const {
    return ToCString(FromCString(m_strEntryFormat).replace(QLatin1String("%d"), QString::number(nIndex + 1)));
}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (lpszPathName == nullptr || *lpszPathName == '\0' || m_nSize == 0)
        return;
    const CString path =
        ToCString(QDir::cleanPath(QFileInfo(QString::fromUtf8(lpszPathName)).absoluteFilePath()));
    std::erase(m_arrNames, path);
    m_arrNames.insert(m_arrNames.begin(), path);
    if (GetCount() > m_nSize)
        m_arrNames.resize(static_cast<std::size_t>(m_nSize));
    WriteList();
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    m_arrNames.erase(m_arrNames.begin() + nIndex);
    WriteList();
}

void CRecentFileList::ReadList() {
    m_arrNames.clear();
    const ProfileStore* profile = ProfileStore::Current();
    if (profile == nullptr)
        return;
    for (int i = 0; i < m_nSize; ++i) {
        const CString path = profile->GetString(m_strSectionName, EntryName(i));
        if (!path.IsEmpty() && std::find(m_arrNames.begin(), m_arrNames.end(), path) == m_arrNames.end())
            m_arrNames.push_back(path);
    }
}

void CRecentFileList::WriteList() {
    ProfileStore* profile = ProfileStore::Current();
    if (profile == nullptr)
        return;
    std::vector<ProfileStore::Entry> entries;
    for (int i = 0; i < m_nSize; ++i)
        entries.push_back({EntryName(i), i < GetCount() ? (*this)[i].GetString() : nullptr});
    profile->WriteStrings(m_strSectionName, entries);
}

CString CRecentFileList::GetMenuText(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return {};
    QString shown = FromCString(AfxAbbreviateName((*this)[nIndex], kMaxDisplayLength));
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return ToCString(QStringLiteral("&%1 %2").arg(nIndex + 1).arg(QDir::toNativeSeparators(shown)));
}

CString AfxAbbreviateName(const CString& path, int nMaxLength) {
    const QString full = FromCString(path);
    if (full.size() <= nMaxLength)
        return path;
    QStringList parts = full.split(QLatin1Char('/'));
    const QString fileName = parts.takeLast();
    // Keep the root ("" for "/") and drop folders after it until the rest fits.
    const QString root = parts.isEmpty() ? QString() : parts.takeFirst();
    while (!parts.isEmpty()) {
        const QString candidate =
            QStringList{root, QStringLiteral("..."), parts.join(QLatin1Char('/')), fileName}.join(
                QLatin1Char('/'));
        if (candidate.size() <= nMaxLength)
            return ToCString(candidate);
        parts.removeFirst();
    }
    const QString shortest = QStringList{root, QStringLiteral("..."), fileName}.join(QLatin1Char('/'));
    return ToCString(shortest.size() <= nMaxLength ? shortest : fileName);
}
