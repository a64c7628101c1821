// The orderly ways out of an operation: back to the main menu, or end of the program.
#pragma once

// The one exception that crosses function boundaries: thrown by the routines that
// never return to their caller (a refused retry of an open, F5, fix_prompt, automatic
// rebuilds) and caught only at the main-menu return point. Unwinding closes the
// streams of the abandoned operation.
struct BackToMainMenu {};

// Abandons the operation under way and returns to the main menu.
[[noreturn]] void back_to_main_menu();

// Closes every open stream, prints "異常終了させます。" (no name) or "<name> を終了します。",
// waits for Y or y (other keys are ignored) and ends the process with exit code 1.
[[noreturn]] void abnormal_end(const char* name = nullptr);

// The answer to every unrecoverable condition: saves the output destination kind,
// deletes MASTFILE.TMP, runs the registered clean-ups (the TeamIndex lives above this
// folder and registers its own), then abnormal_end("HAKOBU32").
[[noreturn]] void fatal_stop();

// Registers a clean-up that fatal_stop runs before it ends the process (at most a few;
// registering the same function twice keeps one entry).
void on_fatal_stop(void (*cleanup)());
