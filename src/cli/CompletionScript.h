#pragma once

// Bash completion for velloria-cli, made from the parser itself so that it always knows the
// commands and options the program has. What a value completes to comes from the type name
// an option shows in its help: DIR completes folders; PROJECT, FILE and JPEG files; COMMAND
// the commands; FIELD=VALUE the fields of `set` (and after "=" the values of the fields that
// have a list); "a|b" those words. Any other value completes to nothing.

#include <CLI/CLI.hpp>
#include <map>
#include <string>

// Field name -> the words its value may be, blank-separated.
using FieldValueWords = std::map<std::string, std::string>;

std::string bashCompletionScript(const CLI::App &app, const FieldValueWords &fields);
