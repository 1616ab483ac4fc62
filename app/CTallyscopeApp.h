#pragma once
// The application object: the start-up sequence, and the About box command.

#include "platform/app/CWinApp.h"

class CTallyscopeApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    CTallyscopeApp() = default;

    BOOL InitInstance() override;
    void OnAppAbout();
};

extern CTallyscopeApp theApp;
