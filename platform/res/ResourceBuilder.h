#pragma once
// Turns the resource tables into Qt objects, so that every caption, key and picture lives in one
// place: one QAction per command id (prompt and tooltip from the string table), menus from a menu
// table, shortcut actions from an accelerator table, button pictures cut from a toolbar strip.
// Actions do nothing themselves: they hand their id to the executor, which routes the command.

#include "platform/res/AfxResource.h"

#include <QImage>
#include <QKeySequence>
#include <QPixmap>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class CommandActions {
public:
    using Executor = std::function<void(UINT nID)>;

    // The actions become children of the owner and call the executor when triggered.
    CommandActions(QWidget* owner, Executor execute);

    // The action for the command, made on first use. Every command action is checkable, so that an
    // update handler's check mark can show in a menu and as a pressed toolbar button.
    QAction* Get(UINT nID);
    // The action for the command if it has been made, else null.
    QAction* Find(UINT nID) const;
    const std::map<UINT, QAction*>& All() const { return m_actions; }

private:
    QWidget* m_owner;
    Executor m_execute;
    std::map<UINT, QAction*> m_actions;
};

// The status-line prompt (before "\n") and the tooltip (after it) of a command's string.
CString AfxCommandPrompt(UINT nID);
CString AfxCommandToolTip(UINT nID);

// Fills a menu bar from a menu table; every menu made is passed to onMenu (to hook its showing).
void AfxBuildMenuBar(QMenuBar* menuBar, std::span<const MenuItemTemplate> items, CommandActions& actions,
                     const std::function<void(QMenu*)>& onMenu);

// The key sequence of an accelerator entry (an empty sequence for a key Qt cannot name).
QKeySequence AfxAcceleratorKeySequence(const AcceleratorEntry& entry);
// Adds one hidden action per accelerator to the window, each sending its command to the executor
// while any window of the application is active (unless a modal dialog blocks it).
std::vector<QAction*> AfxInstallAccelerators(QWidget* window, std::span<const AcceleratorEntry> entries,
                                             const CommandActions::Executor& execute);

// The button pictures of a toolbar, cut in order from its strip; empty when the strip cannot be
// read or holds fewer pictures than the toolbar has buttons.
std::vector<QPixmap> AfxToolBarPictures(const ToolBarTemplate& toolBar);
// A picture of the program's resources (a PNG), read as the PNG it is: left to guess the format,
// Qt's reader would load and ask every image plugin there is first, at every launch.
QImage AfxResourcePicture(const char* imagePath);
