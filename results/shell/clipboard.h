// Copying report text to the desktop clipboard: wl-copy (Wayland), xclip or xsel (X11),
// else the terminal's OSC 52 sequence. The text given is CP932; the clipboard gets UTF-8.
#pragma once
#include <string_view>

// Copies the text; true when a clipboard tool took it (or the terminal was sent it).
bool copy_to_clipboard(std::string_view cp932_text);
