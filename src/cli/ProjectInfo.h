#pragma once

// What `velloria-cli info` shows of a project: parameters, items and design tree.

#include "model/InMemoryDesignTree.h"
#include "model/TzybAppletAgent.h"

#include <iosfwd>
#include <string>

void printProjectText(std::ostream &out, const TzybAppletAgent &agent,
                      const InMemoryDesignTree &tree);

// One JSON object: {"parameters": {...}, "items": [...], "tree": [...], "show": {...},
// "pictures": [...]}; "show" holds the values as `set` takes them.
std::string projectJson(const TzybAppletAgent &agent, const InMemoryDesignTree &tree);
