#include "platform/app/CRecentFileList.h"
#include "platform/app/CWinApp.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// An application object whose profile store lives in a temporary configuration folder.
class RecentFileListTest : public ::testing::Test {
protected:
    RecentFileListTest() : m_app("Tallyscope") {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        m_app.SetRegistryKey("Local AppWizard-Generated Applications");
    }

    static std::vector<std::string> Entries(const CRecentFileList& list) {
        std::vector<std::string> entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.push_back(list[i].str());
        return entries;
    }

    QTemporaryDir m_config;
    CWinApp m_app;
};

} // namespace

TEST_F(RecentFileListTest, RecentFiles_NewestFirstCappedAtFourRepeatsMoveUp) {
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    for (const char* path : {"/p/a.bmp", "/p/b.bmp", "/p/c.bmp", "/p/d.bmp", "/p/e.bmp"})
        list.Add(path);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/p/e.bmp", "/p/d.bmp", "/p/c.bmp", "/p/b.bmp"}));

    list.Add("/p/c.bmp"); // already listed: moves to the top, nothing drops out
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/p/c.bmp", "/p/e.bmp", "/p/d.bmp", "/p/b.bmp"}));

    // The same file named another way is still the same entry.
    list.Add("/p/x/../b.bmp");
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/p/b.bmp", "/p/c.bmp", "/p/e.bmp", "/p/d.bmp"}));

    list.Remove(1);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"/p/b.bmp", "/p/e.bmp", "/p/d.bmp"}));
    list.Remove(7); // out of range: nothing happens
    EXPECT_EQ(list.GetCount(), 3);
}

TEST_F(RecentFileListTest, RecentFiles_RelativeNamesAreStoredAsAbsolutePaths) {
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    list.Add("chart.bmp");
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(QString::fromUtf8(list[0].GetString()), QDir::current().absoluteFilePath("chart.bmp"));
}

TEST_F(RecentFileListTest, RecentFiles_PersistedInTheProfileStoreAndReadBack) {
    {
        CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
        for (const char* path : {"/p/a.bmp", "/p/b.bmp", "/p/c.bmp", "/p/d.bmp", "/p/e.bmp"})
            list.Add(path);
        list.Remove(3);
    }
    // Written under the organisation and application names, one entry per file, none left over.
    QSettings store(m_config.filePath("Local AppWizard-Generated Applications/Tallyscope.conf"),
                    QSettings::IniFormat);
    EXPECT_EQ(store.value("Recent File List/File1").toString(), "/p/e.bmp");
    EXPECT_EQ(store.value("Recent File List/File3").toString(), "/p/c.bmp");
    EXPECT_FALSE(store.contains("Recent File List/File4"));

    CRecentFileList restored(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    restored.ReadList();
    EXPECT_EQ(Entries(restored), (std::vector<std::string>{"/p/e.bmp", "/p/d.bmp", "/p/c.bmp"}));

    // A shorter list reads only as many entries as it holds.
    CRecentFileList shorter(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 2);
    shorter.ReadList();
    EXPECT_EQ(Entries(shorter), (std::vector<std::string>{"/p/e.bmp", "/p/d.bmp"}));
}

TEST_F(RecentFileListTest, RecentFiles_MenuTextNumbersEntriesAndKeepsAmpersands) {
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    list.Add("/data/R&D.bmp");
    list.Add("/data/b.bmp");
    EXPECT_EQ(list.GetMenuText(0), "&1 /data/b.bmp");
    EXPECT_EQ(list.GetMenuText(1), "&2 /data/R&&D.bmp");
    EXPECT_EQ(list.GetMenuText(2), "");
}

TEST(RecentFiles_Abbreviation, LongPathsLoseLeadingFoldersNeverTheFileName) {
    const struct {
        const char* path;
        int maxLength;
        const char* shown;
    } cases[] = {
        {"/short/a.bmp", 40, "/short/a.bmp"},
        {"/home/someone/charts/2024/march/a.bmp", 24, "/.../2024/march/a.bmp"},
        {"/home/someone/charts/2024/march/a.bmp", 14, "/.../a.bmp"},
        {"/home/someone/a-very-long-file-name.bmp", 20, "a-very-long-file-name.bmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AfxAbbreviateName(c.path, c.maxLength), c.shown) << c.path << " in " << c.maxLength;
}
