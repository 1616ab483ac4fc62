#pragma once
// The framework's recent-file list: the files opened last, newest first, at most a fixed number of
// them, kept in the application's profile store as one section with the entries "File1", "File2",
// ... Every change is written at once, so that the list survives however the program ends.

#include "platform/core/CString.h"

#include <vector>

class CRecentFileList {
public:
    // Commands nStart, nStart + 1, ... open the entries; the entries live under lpszSection with
    // names made from lpszEntryFormat ("File%d", counted from 1).
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize);
    virtual ~CRecentFileList() = default;

    // How many entries the list can hold, and how many it holds now.
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_arrNames.size()); }
    const CString& operator[](int nIndex) const { return m_arrNames[static_cast<std::size_t>(nIndex)]; }

    // Puts the file (as an absolute path) first; a file already listed moves up, the oldest drops out.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();

    // The text of entry nIndex in the File menu: "&1 " and the path, shortened to the last folders
    // when it is long, with "&" doubled so that it shows as written.
    CString GetMenuText(int nIndex) const;

    const UINT m_nStart;

private:
    CString EntryName(int nIndex) const;

    CString m_strSectionName;
    CString m_strEntryFormat;
    int m_nSize;
    std::vector<CString> m_arrNames;
};

// A path shortened for display to at most nMaxLength characters by replacing leading folders with
// "..."; the file name itself is never cut.
CString AfxAbbreviateName(const CString& path, int nMaxLength);
