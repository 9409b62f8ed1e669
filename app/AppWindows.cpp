#include "AppWindows.h"

namespace r73 {

TfrmMain* frmMain = nullptr;
TForm1* Form1 = nullptr;
TfrmSprache* frmSprache = nullptr;
TfrmComPort* frmComPort = nullptr;
TFileForm* FileForm = nullptr;

} // namespace r73
