#pragma once

class QApplication;

// The program: the language, the client core, the main window and the
// message loop. Returns the exit code.
int RunOrvDuriza(QApplication& app);
