#pragma once
/// The program's windows, made once by the program entry in this order and kept in
/// program-wide references named like the windows.

class TfrmMain;
class TForm1;
class TfrmSprache;
class TfrmComPort;
class TFileForm;

namespace r73 {

extern TfrmMain* frmMain;
extern TForm1* Form1;
extern TfrmSprache* frmSprache;
extern TfrmComPort* frmComPort;
extern TFileForm* FileForm;

} // namespace r73
