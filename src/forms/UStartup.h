#pragma once

// The program, once the QApplication exists: the language, the client core,
// the main window and the message loop. Returns the exit code.
int RunOrvDuriza();
