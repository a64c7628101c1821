// txp's start-up: printers, settings, the window, the command line, and printing at once
// for -p. Returns the program's exit code.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace txp {

// tokens: the command line without the program name. Runs the event loop until the window
// closes. Exit code 0, or 1 when -p printing did not succeed (so a caller waiting for the
// program learns it).
int RunTxp(const std::vector<std::string>& tokens, const std::filesystem::path& program_folder);

// True when the tokens ask to print at once (-p in any of its forms).
bool WantsPrint(const std::vector<std::string>& tokens);

// Shown on standard error when txp is started without -p where there is no display.
inline constexpr const char* kNoDisplayMessage =
    "ウインドウを表示する画面がありません (DISPLAY も WAYLAND_DISPLAY もありません)。"
    "印刷だけなら txp -p -q ファイル名 で実行できます。";

}  // namespace txp
