#include "platform/core/ProfileStore.h"

#include <QSettings>

#include <memory>

namespace {
ProfileStore* g_current = nullptr;

QString Key(LPCTSTR section, LPCTSTR entry) {
    return QString::fromUtf8(section) + QLatin1Char('/') + QString::fromUtf8(entry);
}
} // namespace

ProfileStore::ProfileStore(const CString& applicationName)
    : m_strApplicationName(applicationName), m_pPrevious(g_current) {
    g_current = this;
}

ProfileStore::~ProfileStore() {
    if (g_current == this)
        g_current = m_pPrevious;
}

ProfileStore* ProfileStore::Current() {
    return g_current;
}

namespace {
// The registry key names the organisation, the application its file below it.
std::unique_ptr<QSettings> Open(const CString& registryKey, const CString& applicationName) {
    const CString& organisation = registryKey.IsEmpty() ? applicationName : registryKey;
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QString::fromUtf8(organisation.GetString()),
                                       QString::fromUtf8(applicationName.GetString()));
}
} // namespace

CString ProfileStore::GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) const {
    const QVariant value = Open(m_strRegistryKey, m_strApplicationName)->value(Key(lpszSection, lpszEntry));
    if (!value.isValid())
        return CString(lpszDefault);
    return CString(value.toString().toUtf8().constData());
}

namespace {
void Put(QSettings& settings, LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    if (entry == nullptr)
        settings.remove(QString::fromUtf8(section));
    else if (value == nullptr)
        settings.remove(Key(section, entry));
    else
        settings.setValue(Key(section, entry), QString::fromUtf8(value));
}

BOOL Synced(QSettings& settings) {
    settings.sync();
    return settings.status() == QSettings::NoError ? TRUE : FALSE;
}
} // namespace

BOOL ProfileStore::WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    const std::unique_ptr<QSettings> settings = Open(m_strRegistryKey, m_strApplicationName);
    Put(*settings, lpszSection, lpszEntry, lpszValue);
    return Synced(*settings);
}

BOOL ProfileStore::WriteStrings(LPCTSTR lpszSection, const std::vector<Entry>& entries) {
    const std::unique_ptr<QSettings> settings = Open(m_strRegistryKey, m_strApplicationName);
    for (const Entry& entry : entries)
        Put(*settings, lpszSection, entry.name.GetString(), entry.value);
    return Synced(*settings);
}
