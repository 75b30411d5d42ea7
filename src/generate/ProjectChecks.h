#pragma once

// Checks made before a generation run writes anything: every value that lands bare in the
// configuration script, the style sheet or the page must be what its place needs, or the
// run stops with a message naming the field by its label and the reason.

#include "model/AppletRecords.h"

// The five numbers of the pages are whole numbers within the bounds of the pages' field table
// (showFields) and the border style a whole number; the name and the array name are script
// identifiers; the colours are six hexadecimal digits. Messages name the pages' labels.
void checkParametersForBuild(const TAppletData &data);

// An item whose picture is missing keeps its stored size, which goes into the script as is:
// it must be a whole number or empty. `position` counts from 1.
void checkKeptItemSize(const TItemData &item, int position);
