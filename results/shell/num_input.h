// The number input field used by every prompt that asks for a number or a time: a row of
// dots that fills with digits (and a leading minus sign) and ends with Enter, Esc, F2 or F5.
#pragma once

#include <string>

// Result codes besides the length typed.
inline constexpr int NUM_INPUT_ESC = -1;  // Esc ended the field
inline constexpr int NUM_INPUT_F2 = -2;   // F2 ran the destination menu; redraw and ask again

// Reads a number at the cursor into text (width characters at most). hints (HINT_ESC,
// HINT_F2, HINT_F5) are shown beside the field and are the only special keys accepted.
// The option NUM_INPUTTYPE = 2 fills the field from the left; anything else fills it from
// the right like a calculator display.
// Returns the number of characters typed (0 or more) after Enter, NUM_INPUT_ESC after Esc,
// NUM_INPUT_F2 after F2. F5 runs f5_action (when given) and then returns to the main menu
// through back_to_main_menu(), never returning here.
int num_input(std::string& text, int width, void (*f5_action)() = nullptr, int hints = 0);

// The input type of the option NUM_INPUTTYPE: 2 (left-aligned) or 1 (right-aligned).
int num_input_type();
