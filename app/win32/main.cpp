// Start-up: the application object, the main form, the loop; exit code 0.
#include <windows.h>

#include "Application.h"
#include "ErrorDisplay.h"
#include "Unitmain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    using namespace kx::win;
    static TfrmMain form;
    try {
        Application().Initialize();
        frmMain = &form;
        frmMain->Create(Application().Handle());
        Application().AddForm(*frmMain);
    } catch (...) {
        ReportCurrentError();
        return 0;
    }
    Application().Run(showCommand);
    return 0;
}
