#pragma once

// The property pages of the command-line tool: what the editor's controls would hold, as
// plain values. The project commands fill them as they fill the editor's pages; a command
// then edits them as a user edits the controls, and storing them runs the editor's store.

#include "model/PropertyPages.h"

class CliPages : public PropertyPages
{
public:
    TAppletData appletPages() const override { return applet; }
    void showApplet(const TAppletData &data) override { applet = data; }
    ItemPage itemPage() const override { return item; }
    void showItem(const ItemPage &page) override { item = page; }

    TAppletData applet;
    ItemPage item;
};
