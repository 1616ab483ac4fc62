#include "platform/res/ResourceBuilder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

TEST(ResourceStrings, SubStringsAreFieldsBetweenSeparators) {
    const struct {
        const char* full;
        int index;
        BOOL found;
        const char* field;
    } cases[] = {
        {"prompt\ntip", 0, TRUE, "prompt"},
        {"prompt\ntip", 1, TRUE, "tip"},
        {"prompt\ntip", 2, FALSE, ""},
        {"only prompt", 1, FALSE, ""},
        {"a\n\nc", 1, TRUE, ""},
        {"a\n\nc", 2, TRUE, "c"},
        {"trailing\n", 1, TRUE, ""},
        {"", 0, TRUE, ""},
        {"x", -1, FALSE, ""},
    };
    for (const auto& c : cases) {
        CString field = "stale";
        EXPECT_EQ(AfxExtractSubString(field, c.full, c.index), c.found) << c.full << " #" << c.index;
        EXPECT_EQ(field, c.field) << c.full << " #" << c.index;
    }
}

TEST(ResourceMenus, PopupsNestAndCommandsShareOneActionPerId) {
    static constexpr MenuItemTemplate inner[] = {{"Deep", 7}};
    static constexpr MenuItemTemplate file[] = {
        {"&Open\tCtrl+O", 5}, MenuSeparator(), MenuPopup("More", inner)};
    static constexpr MenuItemTemplate bar[] = {MenuPopup("&File", file), {"Not a popup", 9}};
    QWidget owner;
    std::vector<UINT> executed;
    CommandActions actions(&owner, [&executed](UINT id) { executed.push_back(id); });
    QMenuBar menuBar;
    int menusSeen = 0;
    AfxBuildMenuBar(&menuBar, bar, actions, [&menusSeen](QMenu*) { ++menusSeen; });

    ASSERT_EQ(menuBar.actions().size(), 1); // the stray top-level item is not a menu
    QMenu* fileMenu = menuBar.actions()[0]->menu();
    ASSERT_NE(fileMenu, nullptr);
    EXPECT_EQ(menusSeen, 2);
    ASSERT_EQ(fileMenu->actions().size(), 3);
    EXPECT_EQ(fileMenu->actions()[0], actions.Find(5));
    EXPECT_EQ(fileMenu->actions()[0]->text(), "&Open\tCtrl+O");
    EXPECT_TRUE(fileMenu->actions()[1]->isSeparator());
    QMenu* more = fileMenu->actions()[2]->menu();
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->actions()[0], actions.Get(7));

    // Actions start disabled until an update handler speaks, and carry their id to the executor.
    EXPECT_FALSE(actions.Find(5)->isEnabled());
    actions.Find(5)->setEnabled(true);
    actions.Find(5)->trigger();
    EXPECT_EQ(executed, std::vector<UINT>{5});
}

TEST(ResourceToolBars, StripTooSmallForTheButtonsGivesNoPictures) {
    static constexpr UINT items[] = {1, ID_SEPARATOR, 2};
    const ToolBarTemplate missing{1, 16, 15, ":/no/such/strip.png", items};
    EXPECT_TRUE(AfxToolBarPictures(missing).empty());
    const ToolBarTemplate real = *AfxGetResourceModule().FindToolBar(128);
    const ToolBarTemplate tooWide{1, 17, 15, real.imagePath, real.items};
    EXPECT_TRUE(AfxToolBarPictures(tooWide).empty());
    EXPECT_EQ(AfxToolBarPictures(ToolBarTemplate{1, 16, 15, real.imagePath, items}).size(), 2u);
}
