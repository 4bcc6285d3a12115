// The look every window of the program shares: a CJK font at 13 px in place
// of the Windows 宋体, and balloon hints that appear after 500 ms.
#pragma once

class QApplication;

void SetUpApplication(QApplication& app);
