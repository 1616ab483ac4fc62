#pragma once
// Runs the real application object: a fresh profile store in a temporary configuration folder, an
// empty recovery folder, the scripted modal host, pictures written by the test, and a clean exit
// after every test.

#include "../support/ScriptedModalHost.h"
#include "../support/TestImages.h"
#include "app/CMainFrame.h"
#include "app/CTallyscopeApp.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/app/CRecentFileList.h"
#include "zoom/CZoomView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QSettings>
#include <QTemporaryDir>

class AppTest : public ::testing::Test {
protected:
    AppTest() : m_outerState(qgetenv("XDG_STATE_HOME")) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
    }
    ~AppTest() override {
        theApp.ExitInstance();
        qputenv("XDG_STATE_HOME", m_outerState);
    }

    // Runs start-up with these command-line arguments.
    BOOL Start(std::vector<CString> arguments = {}) {
        theApp.SetCommandLine(std::move(arguments));
        return theApp.InitInstance();
    }
    // A 40 x 30 picture on disk.
    CString Picture(const QString& name) {
        return CString(m_files.Save(MakeTestImage(40, 30), name).toUtf8().constData());
    }

    static CMainFrame* MainFrame() { return dynamic_cast<CMainFrame*>(theApp.m_pMainWnd); }
    static CTallyscopeDoc* Document() {
        CMainFrame* frame = MainFrame();
        return frame != nullptr ? static_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
    }
    // The document's magnifier views, oldest first.
    static std::vector<CZoomView*> ZoomViews() {
        std::vector<CZoomView*> views;
        if (CTallyscopeDoc* doc = Document()) {
            for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr;) {
                CView* view = doc->GetNextView(pos);
                if (view->IsKindOf(RUNTIME_CLASS(CZoomView)))
                    views.push_back(static_cast<CZoomView*>(view));
            }
        }
        return views;
    }
    // The shortcut action that sends a key's command.
    static QAction* KeyAction(const QKeySequence& keys) {
        for (QAction* action : MainFrame()->GetAcceleratorActions()) {
            if (action->shortcut() == keys)
                return action;
        }
        return nullptr;
    }
    static void DeleteDestroyedWindows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QByteArray m_outerState;
    QTemporaryDir m_state; // before everything that may write there
    QTemporaryDir m_config;
    TestFiles m_files;
    ScriptedModalHost m_host;
};
