#pragma once
// The per-user profile store: named strings in sections, kept in QSettings in the user's
// configuration folder under the organisation (the registry key) and the application's name. The
// application object owns the one store of a run; the parts of the framework that keep settings
// (the recent-file list) find it as the current store, without knowing the application.

#include "platform/core/CString.h"

#include <vector>

class ProfileStore {
public:
    // Becomes the current store until it is destroyed; the one it replaces comes back then.
    explicit ProfileStore(const CString& applicationName);
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // The organisation the settings are kept under; none keeps them under the application's name.
    void SetRegistryKey(const CString& registryKey) { m_strRegistryKey = registryKey; }
    const CString& GetRegistryKey() const { return m_strRegistryKey; }

    // The entry's text, or lpszDefault when the store has none.
    CString GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr) const;
    // Writes the entry; a null value removes the entry, a null entry the whole section.
    BOOL WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // Writes several entries of one section in one go: the store's file is locked, written and
    // replaced once, not once an entry. A null value removes its entry.
    struct Entry {
        CString name;
        const char* value;
    };
    BOOL WriteStrings(LPCTSTR lpszSection, const std::vector<Entry>& entries);

    // The store of the running application, or null before there is one.
    static ProfileStore* Current();

private:
    CString m_strApplicationName;
    CString m_strRegistryKey;
    ProfileStore* m_pPrevious;
};
