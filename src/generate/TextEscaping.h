#pragma once

// Values go into generated files as they are stored whenever they hold nothing special, so
// ordinary projects give the same bytes as ever. What could break a file's syntax, or let a
// value out of its string or attribute, is escaped for the place the value lands in.
//
// Stored values are UTF-8. The written files declare no character set and their code is
// pasted into pages of any character set, so characters beyond ASCII are written as escapes
// of the place they land in, which every character set reads alike. A byte that does not
// begin a well-formed UTF-8 sequence (a value typed in another code page) becomes U+FFFD.

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
