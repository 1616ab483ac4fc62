#include "platform/ui/ApplicationStyle.h"

#include <QIcon>

ApplicationStyle::ApplicationStyle(const QString& baseStyleName) : QProxyStyle(baseStyleName) {}

QIcon ApplicationStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                     const QWidget* widget) const {
    if (standardIcon == SP_ToolBarHorizontalExtensionButton || standardIcon == SP_ToolBarVerticalExtensionButton)
        return QIcon(standardPixmap(standardIcon, option, widget));
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}
