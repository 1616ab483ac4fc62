#include "platform/app/CDocument.h"
#include "platform/app/CView.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class BaseTarget : public CCmdTarget {
    DECLARE_MESSAGE_MAP()
public:
    void OnBase() { calls.push_back("base"); }
    void OnOverridden() { calls.push_back("base-overridden"); }
    std::vector<const char*> calls;
};

class DerivedTarget : public BaseTarget {
    DECLARE_MESSAGE_MAP()
public:
    void OnOverridden() { calls.push_back("derived-overridden"); }
    void OnRange(UINT id) { rangeIds.push_back(id); }
    void OnGuarded() { calls.push_back("guarded"); }
    void OnUpdateGuarded(CCmdUI* ui) {
        ui->Enable(guardOpen);
        ui->SetCheck(1);
    }
    bool guardOpen = false;
    std::vector<UINT> rangeIds;
};

const MessageMap* BaseTarget::ThisMessageMap() {
    static const MessageMap map(CCmdTarget::ThisMessageMap(), {
                                                                  MapCommand<&BaseTarget::OnBase>(100),
                                                                  MapCommand<&BaseTarget::OnOverridden>(101),
                                                              });
    return &map;
}

const MessageMap* DerivedTarget::ThisMessageMap() {
    static const MessageMap map(BaseTarget::ThisMessageMap(),
                                {
                                    MapCommand<&DerivedTarget::OnOverridden>(101),
                                    MapCommand<&DerivedTarget::OnRange>(200, 203),
                                    MapCommand<&DerivedTarget::OnGuarded>(300),
                                    MapUpdate<&DerivedTarget::OnUpdateGuarded>(300),
                                });
    return &map;
}

class RoutedDocument : public CDocument {
    DECLARE_MESSAGE_MAP()
public:
    void OnDocumentCommand() { ++documentCalls; }
    int documentCalls = 0;
};

const MessageMap* RoutedDocument::ThisMessageMap() {
    static const MessageMap map(CDocument::ThisMessageMap(),
                                {MapCommand<&RoutedDocument::OnDocumentCommand>(400)});
    return &map;
}

class PlainView : public CView {
public:
    void OnDraw(CDC*) override {}
};

} // namespace

TEST(MessageMap_Lookup, DerivedTableFirstThenBase) {
    DerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(100, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(101, nullptr));
    ASSERT_EQ(target.calls.size(), 2u);
    EXPECT_STREQ(target.calls[0], "base");
    EXPECT_STREQ(target.calls[1], "derived-overridden");
    EXPECT_FALSE(target.OnCmdMsg(999, nullptr));
}

TEST(MessageMap_Lookup, RangeHandlersReceiveTheirId) {
    DerivedTarget target;
    for (UINT id : {199u, 200u, 203u, 204u})
        target.OnCmdMsg(id, nullptr);
    EXPECT_EQ(target.rangeIds, (std::vector<UINT>{200, 203}));
}

TEST(MessageMap_Update, HandlerWithoutUpdateIsEnabledAndUnknownIsDisabled) {
    DerivedTarget target;
    EXPECT_TRUE(target.QueryCommandState(100).m_bEnabled);
    EXPECT_FALSE(target.QueryCommandState(100).m_bChecked);
    EXPECT_FALSE(target.QueryCommandState(999).m_bEnabled);
}

TEST(MessageMap_Update, DisabledCommandIsNeverDelivered) {
    DerivedTarget target;
    const CCmdUI closed = target.QueryCommandState(300);
    EXPECT_FALSE(closed.m_bEnabled);
    EXPECT_TRUE(closed.m_bChecked) << "a check mark shows even while disabled";
    EXPECT_FALSE(target.ExecuteCommand(300));
    EXPECT_TRUE(target.calls.empty());
    target.guardOpen = true;
    EXPECT_TRUE(target.ExecuteCommand(300));
    ASSERT_EQ(target.calls.size(), 1u);
}

TEST(CommandRouting_View, CommandsTheViewLacksReachItsDocument) {
    RoutedDocument doc;
    PlainView view;
    doc.AddView(&view);
    EXPECT_TRUE(view.ExecuteCommand(400));
    EXPECT_EQ(doc.documentCalls, 1);
    EXPECT_FALSE(view.ExecuteCommand(401));
    doc.RemoveView(&view);
    EXPECT_EQ(view.GetDocument(), nullptr);
    EXPECT_FALSE(view.ExecuteCommand(400));
}

TEST(Document_Views, WalkInOrderAndForgetDestroyedViews) {
    RoutedDocument doc;
    PlainView first;
    {
        PlainView second;
        doc.AddView(&first);
        doc.AddView(&second);
        doc.AddView(&first); // added once only
        std::vector<CView*> walked;
        for (POSITION pos = doc.GetFirstViewPosition(); pos != nullptr;)
            walked.push_back(doc.GetNextView(pos));
        EXPECT_EQ(walked, (std::vector<CView*>{&first, &second}));
    }
    POSITION pos = doc.GetFirstViewPosition();
    EXPECT_EQ(doc.GetNextView(pos), &first);
    EXPECT_EQ(pos, nullptr);
}

TEST(Object_RuntimeClass, IsKindOfFollowsTheBaseChain) {
    PlainView view;
    EXPECT_TRUE(view.IsKindOf(RUNTIME_CLASS(CView)));
    EXPECT_TRUE(view.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(view.IsKindOf(RUNTIME_CLASS(CObject)));
    RoutedDocument doc;
    EXPECT_FALSE(doc.IsKindOf(RUNTIME_CLASS(CView)));
}
