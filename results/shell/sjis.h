// Shift-JIS (CP932) text helpers. A byte 0x81-0x9F or 0xE0-0xFC starts a two-byte
// character, which is never split and never taken for a separator. "Blank" means an
// ASCII blank or tab; the full-width space is the two bytes 0x81 0x40.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

inline constexpr char kFullWidthSpace[] = "\x81\x40";

// True for the first byte of a two-byte character.
constexpr bool is_lead_byte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the longest prefix of text that is at most max_bytes long and
// does not end in the middle of a two-byte character.
std::size_t cut_length(std::string_view text, std::size_t max_bytes);
// The text cut to at most max_bytes without splitting a two-byte character.
std::string cut_text(std::string_view text, std::size_t max_bytes);

// CP932 <-> UTF-8 (glibc iconv). Bytes that do not convert are kept as they are, so a
// name that is already UTF-8 (or broken) still reaches the file system unchanged.
std::string cp932_to_utf8(std::string_view cp932);
std::string utf8_to_cp932(std::string_view utf8);

// Removes one trailing "\n".
void strip_newline(std::string& text);
// Removes trailing ASCII white space.
void trim_white(std::string& text);
// Removes trailing blanks, tabs and full-width spaces; returns how many bytes went.
int trim_blanks(std::string& text);

// Position moves: over blanks, tabs and full-width spaces / over ASCII white space /
// over ASCII digits / to the first single-byte character in separators (or the end).
const char* skip_blanks(const char* pos);
const char* skip_white(const char* pos);
const char* skip_digits(const char* pos);
const char* skip_to_separator(const char* pos, const char* separators);

// Copies from pos up to the first separator into target, at most size - 1 bytes (a
// two-byte character that would not fit ends the copy); a tab becomes a blank unless
// tab is a separator; size 0 copies nothing. Returns the position after what was copied.
const char* take_token(std::string& target, const char* pos, std::size_t size,
                       const char* separators);

// The source without every character (single- or two-byte) that occurs in set.
std::string remove_characters(std::string_view source, std::string_view set);
// The source without the text between open and its matching close (nesting counted,
// brackets removed too); with open == 0 everything up to the first close is dropped.
std::string remove_bracketed(std::string_view source, char open, char close);
// Every single-byte character that has a full-width form (ASCII 0x20-0x7E, half-width
// katakana) turned into that two-byte form.
std::string to_full_width(std::string_view source);
