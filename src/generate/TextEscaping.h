#pragma once

// Values go into generated files as they are stored whenever they hold nothing special, so
// ordinary projects give the same bytes as ever. What could break a file's syntax, or let a
// value out of its string or attribute, is escaped for the place the value lands in.
//
// Stored values are UTF-8, except those of projects written on Windows, which hold its code
// page: a value that is not UTF-8 is read as Windows-1252 (as the editor shows it), so it
// publishes exactly as the same text stored in UTF-8. The written files declare no character
// set and their code is pasted into pages of any character set, so characters beyond ASCII
// are written as escapes of the place they land in, which every character set reads alike.
// A link so gets the character itself, and the browser sends it UTF-8 and percent-encoded,
// as it sends any link typed with that character.

#include "model/PageRules.h" // isScriptIdentifier, the name rule of the pages

#include <string>
#include <string_view>

// For a JavaScript string in single quotes: apostrophe, backslash, line breaks and "</";
// characters beyond ASCII as \uXXXX, those beyond U+FFFF as a surrogate pair.
std::string escapeScriptString(std::string_view value);

// For HTML text and quoted attribute values; characters beyond ASCII as &#NNN;.
std::string escapeHtml(std::string_view value);

// For an id selector in a style sheet: everything but ASCII letters, digits, "-" and "_" is
// escaped with a backslash, characters beyond ASCII as "\hex ".
std::string escapeCssIdentifier(std::string_view value);

// For a terminal: control characters (C0, DEL and C1, which can retitle or clear it) as
// "\n", "\r", "\t" or "\xNN"/"\u00NN", and bytes that are not UTF-8 as "\xNN", so the stored
// bytes can be read off; everything else as it is.
std::string escapeForTerminal(std::string_view value);
