#include "platform/res/ResourceBuilder.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

CommandActions::CommandActions(QWidget* owner, Executor execute)
    : m_owner(owner), m_execute(std::move(execute)) {}

QAction* CommandActions::Get(UINT nID) {
    if (QAction* existing = Find(nID))
        return existing;
    auto* action = new QAction(m_owner);
    action->setData(nID);
    action->setEnabled(false); // until an update handler says otherwise
    action->setIconVisibleInMenu(false);
    action->setStatusTip(QString::fromUtf8(AfxCommandPrompt(nID).GetString()));
    const CString toolTip = AfxCommandToolTip(nID);
    if (!toolTip.IsEmpty())
        action->setToolTip(QString::fromUtf8(toolTip.GetString()));
    QObject::connect(action, &QAction::triggered, m_owner, [execute = m_execute, nID] { execute(nID); });
    m_actions.emplace(nID, action);
    return action;
}

QAction* CommandActions::Find(UINT nID) const {
    const auto it = m_actions.find(nID);
    return it != m_actions.end() ? it->second : nullptr;
}

CString AfxCommandPrompt(UINT nID) {
    CString prompt;
    AfxExtractSubString(prompt, AfxLoadString(nID), 0);
    return prompt;
}

CString AfxCommandToolTip(UINT nID) {
    CString toolTip;
    AfxExtractSubString(toolTip, AfxLoadString(nID), 1);
    return toolTip;
}

namespace {
// The framework's menus highlight a disabled item as any other, so that its prompt shows in the
// status bar while the pointer or the keyboard is on it; it still cannot be chosen.
class MenuStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Menu_AllowActiveAndDisabled)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
    // The base style draws the highlight of enabled items only; a disabled one gets the same bar
    // under its greyed text.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuItem && option->state.testFlag(State_Selected) &&
            !option->state.testFlag(State_Enabled))
            painter->fillRect(option->rect, option->palette.brush(QPalette::Active, QPalette::Highlight));
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

// One style for every menu of the run; a widget does not own the style it is given.
QStyle* SharedMenuStyle() {
    static QPointer<QStyle> style;
    if (style == nullptr) {
        style = new MenuStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// A menu of the bar or a submenu.
template <typename MenuOrBar> QMenu* AddMenu(MenuOrBar* parent, const char* caption) {
    QMenu* menu = parent->addMenu(QString::fromUtf8(caption));
    menu->setStyle(SharedMenuStyle());
    return menu;
}

void FillMenu(QMenu* menu, std::span<const MenuItemTemplate> items, CommandActions& actions,
              const std::function<void(QMenu*)>& onMenu) {
    for (const MenuItemTemplate& item : items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            QMenu* popup = AddMenu(menu, item.caption);
            onMenu(popup);
            FillMenu(popup, item.popup, actions, onMenu);
        } else {
            // Qt shows the text after "\t" as the item's shortcut text, as the framework does.
            QAction* action = actions.Get(item.id);
            action->setText(QString::fromUtf8(item.caption));
            menu->addAction(action);
        }
    }
}

Qt::Key QtKeyForVirtualKey(UINT key) {
    if (key >= 'A' && key <= 'Z')
        return static_cast<Qt::Key>(Qt::Key_A + static_cast<int>(key - 'A'));
    if (key >= '0' && key <= '9')
        return static_cast<Qt::Key>(Qt::Key_0 + static_cast<int>(key - '0'));
    if (key >= 0x70 && key <= 0x87) // VK_F1 .. VK_F24
        return static_cast<Qt::Key>(Qt::Key_F1 + static_cast<int>(key - 0x70));
    switch (key) {
    case VK_BACK:
        return Qt::Key_Backspace;
    case VK_TAB:
        return Qt::Key_Tab;
    case VK_RETURN:
        return Qt::Key_Return;
    case VK_ESCAPE:
        return Qt::Key_Escape;
    case VK_SPACE:
        return Qt::Key_Space;
    case VK_INSERT:
        return Qt::Key_Insert;
    case VK_DELETE:
        return Qt::Key_Delete;
    case VK_LEFT:
        return Qt::Key_Left;
    case VK_UP:
        return Qt::Key_Up;
    case VK_RIGHT:
        return Qt::Key_Right;
    case VK_DOWN:
        return Qt::Key_Down;
    default:
        return Qt::Key_unknown;
    }
}
} // namespace

void AfxBuildMenuBar(QMenuBar* menuBar, std::span<const MenuItemTemplate> items, CommandActions& actions,
                     const std::function<void(QMenu*)>& onMenu) {
    for (const MenuItemTemplate& item : items) {
        // A top-level command item (no popup) would be a menu-bar button; the tables have none.
        if (!item.IsPopup())
            continue;
        QMenu* menu = AddMenu(menuBar, item.caption);
        onMenu(menu);
        FillMenu(menu, item.popup, actions, onMenu);
    }
}

QKeySequence AfxAcceleratorKeySequence(const AcceleratorEntry& entry) {
    const Qt::Key key = QtKeyForVirtualKey(entry.key);
    if (key == Qt::Key_unknown)
        return {};
    Qt::KeyboardModifiers modifiers;
    if (entry.fVirt & FCONTROL)
        modifiers |= Qt::ControlModifier;
    if (entry.fVirt & FSHIFT)
        modifiers |= Qt::ShiftModifier;
    if (entry.fVirt & FALT)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, key));
}

std::vector<QAction*> AfxInstallAccelerators(QWidget* window, std::span<const AcceleratorEntry> entries,
                                             const CommandActions::Executor& execute) {
    std::vector<QAction*> installed;
    for (const AcceleratorEntry& entry : entries) {
        const QKeySequence keys = AfxAcceleratorKeySequence(entry);
        if (keys.isEmpty())
            continue;
        auto* action = new QAction(window);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
        action->setData(entry.cmd);
        const UINT command = entry.cmd;
        QObject::connect(action, &QAction::triggered, window, [execute, command] { execute(command); });
        window->addAction(action);
        installed.push_back(action);
    }
    return installed;
}

QImage AfxResourcePicture(const char* imagePath) {
    QImageReader reader(QString::fromUtf8(imagePath));
    reader.setFormat("png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

std::vector<QPixmap> AfxToolBarPictures(const ToolBarTemplate& toolBar) {
    const QImage strip = AfxResourcePicture(toolBar.imagePath);
    const auto buttons =
        std::count_if(toolBar.items.begin(), toolBar.items.end(), [](UINT id) { return id != ID_SEPARATOR; });
    if (strip.isNull() || strip.height() < toolBar.buttonHeight ||
        strip.width() < buttons * toolBar.buttonWidth)
        return {};
    std::vector<QPixmap> pictures;
    for (int i = 0; i < buttons; ++i)
        pictures.push_back(QPixmap::fromImage(
            strip.copy(i * toolBar.buttonWidth, 0, toolBar.buttonWidth, toolBar.buttonHeight)));
    return pictures;
}
