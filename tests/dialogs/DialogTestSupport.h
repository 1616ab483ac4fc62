#pragma once
// What the dialog tests share: a document opened on a small picture that the dialogs reach as the
// active document, a view that counts the updates it gets, and the means to work a dialog's real
// Qt window while it runs modally.

#include "doc/CTallyscopeDoc.h"
#include "platform/app/CView.h"
#include "platform/core/AfxGlobals.h"
#include "platform/res/DialogBuilder.h"
#include "platform/ui/QtModalHost.h"

#include "../support/ScriptedModalHost.h"
#include "../support/TestImages.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

class CountingView : public CView {
public:
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
    void OnDraw(CDC*) override {}
    int updates = 0;
};

class DialogDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString path = files.Save(MakeTestImage(40, 30), "chart.bmp");
        ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData()));
        doc.AddView(&counter);
        AfxSetActiveDocumentSource([this] { return &doc; });
    }
    void TearDown() override {
        AfxSetActiveDocumentSource({});
        doc.RemoveView(&counter);
    }

    CData& Point(int series, int index) { return *doc.m_DataSeries.m_aSeries[series]->m_aData[index]; }

    ScriptedModalHost host;
    CTallyscopeDoc doc;
    CountingView counter;
    TestFiles files;
};

// Puts the program's real modal host in place for one test.
class RealModalHost {
public:
    RealModalHost() : m_previous(AfxSetModalHost(&m_host)) {}
    ~RealModalHost() { AfxSetModalHost(m_previous); }

private:
    QtModalHost m_host;
    ModalHost* m_previous;
};

// Runs the action on the next modal window other than `after` as soon as it shows. A window that
// never shows fails the test rather than leaving it waiting.
inline void OnNextModal(std::function<void(QWidget*)> action, QWidget* after = nullptr) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, action = std::move(action), after, tries = 0]() mutable {
                         QWidget* modal = QApplication::activeModalWidget();
                         const bool shown = modal != nullptr && modal != after && modal->isVisible();
                         if (!shown && ++tries < 500)
                             return;
                         timer->stop();
                         timer->deleteLater();
                         if (shown)
                             action(modal);
                         else
                             ADD_FAILURE() << "no modal window showed";
                     });
    timer->start();
}

template <class Widget> Widget* ControlOf(QWidget* window, int id) {
    return qobject_cast<Widget*>(AfxFindDialogControl(*window, id));
}
