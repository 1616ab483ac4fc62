// The program's entry: the framework's start-up around the one application object.

#include "app/CTallyscopeApp.h"

int main(int argc, char** argv) {
    // The application object lives in the library; taking its address here links its source file
    // into the program, where AfxWinMain finds it through AfxGetApp.
    [[maybe_unused]] CWinApp* volatile application = &theApp;
    return AfxWinMain(argc, argv);
}
