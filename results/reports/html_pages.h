// The results as a small static web site (result output [6]): a framed site for
// personal computers in html/ (an index with two frames, a contents page with the
// division links, one page per division with its results table and speed ranking)
// and a compact frameless site for mobile phones in html_keitai/. Pages are CP932
// text files with CR LF line ends that declare charset shift_jis; names taken from
// the race files are written with "&", "<", ">" and '"' escaped.
#pragma once
#include <string>
#include <string_view>

#include "results/shell/files.h"

inline constexpr const char* kHtmlFolder = "html";
inline constexpr const char* kMobileHtmlFolder = "html_keitai";
inline constexpr const char* kHtmlExtension = "htm";

// Result output [6]: the missing-departure warning, the computation up to the furthest
// point reached (no output questions), both sites, then both index pages opened in the
// browser.
void html_pages_entry();

// Both sites from the computed master file and the output order left by
// prepare_results (0, 0, kFurthestPoint), then html/index.htm and
// html_keitai/index.htm opened with the desktop's program.
void write_html_pages();
// The sites one by one, without opening anything.
void write_pc_site();
void write_mobile_site();

// Creates `folder` below the working folder when missing and opens
// <working folder>/<folder>/<name>.htm for writing in text mode, replacing an older
// file, through the retrying open. A folder that cannot be created or a working folder
// that cannot be determined ends the program.
Stream open_html_file(const std::string& folder, const std::string& name);

// Appends the speed ranking of `division` (index from 0) to its PC page, opened by
// `table_tag`; nothing when no runner of the division has a set section time.
void write_speed_ranking_table(int division, Stream& page, const std::string& table_tag);

// CP932 text with "&", "<", ">" and '"' as character references; two-byte characters
// are copied whole.
std::string html_escape(std::string_view text);

// A time or distance text for a table cell: leading blanks dropped; with
// `trailing_nbsp` every trailing blank becomes "&nbsp;" and a blank text one "&nbsp;".
std::string html_cell_text(std::string_view text, bool trailing_nbsp);
