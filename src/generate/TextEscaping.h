#pragma once

// Values go into generated files as they are stored whenever they hold nothing special, so
// ordinary projects give the same bytes as ever. What could break a file's syntax, or let a
// value out of its string or attribute, is escaped for the place the value lands in.

#include "model/PageRules.h" // isScriptIdentifier, the name rule of the pages

#include <string>
#include <string_view>

// For a JavaScript string in single quotes: apostrophe, backslash, line breaks and "</".
std::string escapeScriptString(std::string_view value);

// For HTML text and quoted attribute values.
std::string escapeHtml(std::string_view value);

// For an id selector in a style sheet: everything but ASCII letters, digits, "-" and "_"
// (and bytes of non-ASCII characters) is escaped with a backslash.
std::string escapeCssIdentifier(std::string_view value);
