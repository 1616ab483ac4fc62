// The wait cursor over long work: shown while one lives, nested ones stacking, nothing left after.
#include "platform/ui/CWaitCursor.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include <optional>

namespace {

std::optional<Qt::CursorShape> ShownCursor() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor != nullptr ? std::optional(cursor->shape()) : std::nullopt;
}

} // namespace

TEST(WaitCursor, ShownWhileOneLivesAndGoneWhenTheLastGoes) {
    ASSERT_EQ(ShownCursor(), std::nullopt);
    {
        CWaitCursor outer;
        EXPECT_EQ(ShownCursor(), Qt::WaitCursor);
        {
            CWaitCursor inner;
            EXPECT_EQ(ShownCursor(), Qt::WaitCursor);
        }
        EXPECT_EQ(ShownCursor(), Qt::WaitCursor) << "the outer one still lives";
    }
    EXPECT_EQ(ShownCursor(), std::nullopt);
}

TEST(WaitCursor, GivesBackACursorSetBeforeIt) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    {
        CWaitCursor wait;
        EXPECT_EQ(ShownCursor(), Qt::WaitCursor);
    }
    EXPECT_EQ(ShownCursor(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    EXPECT_EQ(ShownCursor(), std::nullopt);
}
