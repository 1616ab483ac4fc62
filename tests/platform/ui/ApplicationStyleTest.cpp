// The program's style draws the arrow of a menu bar or toolbar whose items do not fit from the
// base style's own pixmaps: the arrow must still be there, both ways, and other icons unchanged.
#include "platform/ui/ApplicationStyle.h"

#include <gtest/gtest.h>

#include <QIcon>
#include <QStyleFactory>

#include <memory>

TEST(ApplicationStyle, ExtensionArrowsDrawnBothWaysOtherIconsFromTheBaseStyle) {
    ApplicationStyle style(QStringLiteral("Fusion"));
    for (const QStyle::StandardPixmap arrow :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        SCOPED_TRACE(arrow);
        const QIcon icon = style.standardIcon(arrow);
        ASSERT_FALSE(icon.isNull());
        EXPECT_FALSE(icon.pixmap(16).isNull());
    }
    const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
    EXPECT_EQ(style.standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage(),
              base->standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage());
}
