#pragma once

// What storing the property pages makes of their values; the editor and the command-line
// tool store through these so that a project saved by either reads the same.

#include "AppletRecords.h"
#include "PropertyPages.h"

#include <string>
#include <vector>

// The name and the two root folders trimmed; the element id and the array name derived from
// the trimmed name ("_div" and "cfg").
TAppletData storedAppletPages(TAppletData pages);

// The item as the page leaves it: the page's four values trimmed. The fields the page does
// not show (slide name, size, level) are made again by the next build; they are kept while
// the original picture stays the same, because for a picture that has gone missing the kept
// slide is the only one left.
TItemData storedItemPage(const ItemPage &page, const TItemData &before);

// The four values the page shows, trimmed.
ItemPage itemPageOf(const TItemData &item);

// The project's parameters with what the user changed on the pages: the fields that differ
// between `shown` (the pages as they were filled) and `pages` (as they are), stored as the
// pages store them. The other fields keep their stored text, however the pages show it.
TAppletData appletWithPageChanges(const TAppletData &project, const TAppletData &shown,
                                  const TAppletData &pages);
// Likewise for an item. A new picture drops the slide made from the old one.
TItemData itemWithPageChanges(const TItemData &item, const ItemPage &shown, const ItemPage &page);

// The labels of the fields that differ, as the pages show them: "Width", "Tooltip".
std::vector<std::string> changedAppletLabels(const TAppletData &shown, const TAppletData &pages);
std::vector<std::string> changedItemLabels(const ItemPage &shown, const ItemPage &page);
