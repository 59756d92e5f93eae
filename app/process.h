#pragma once
// The process: the user-interface framework, the main window, the message loop and the one
// end-of-process cleanup.

// Runs the program and returns its exit code, 0. Reads no command line.
int RunProcess();

// Releases the process-wide texts. Runs once, however the process ends.
void RunEndOfProcessCleanup();

// Runs the cleanup and ends the process at once with the exit code.
[[noreturn]] void EndProcess(int exitCode);
