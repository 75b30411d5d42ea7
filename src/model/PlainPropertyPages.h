#pragma once

// Property pages without a window: what the editor's controls would hold, as plain values.
// The project commands fill them as they fill the editor's pages; the command-line tool (and
// a test) then edits them as a user edits the controls, and storing them runs the editor's
// store.

#include "PropertyPages.h"

class PlainPropertyPages : public PropertyPages
{
public:
    TAppletData appletPages() const override { return applet; }
    void showApplet(const TAppletData &data) override { applet = data; }
    ItemPage itemPage() const override { return item; }
    void showItem(const ItemPage &page) override { item = page; }

    TAppletData applet;
    ItemPage item;
};
