#pragma once

// The Script and Path pages' controls as a view of the slide show's parameters. Which
// control holds which field, the spin edits' bounds and the conversions come from the core's
// field table (showFields), the one that velloria-cli's `set` reads too. A label named after
// a control with "_meaning" says what its value means, in the core's words: the seconds of
// Delay and Step as they are typed, a colour's hex value.

#include "model/AppletRecords.h"

#include <QColor>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;
struct ShowField;

class PageControls
{
public:
    // Finds the controls among the children of `window` by their object names and gives each
    // spin edit its bounds and the words of its rule. Raises std::logic_error naming a control that
    // is missing or not of the kind its field needs.
    explicit PageControls(QWidget &window);

    // The parameters as the controls hold them, before the store trims and derives; the
    // fields without a control (element id, array name) are those of `base`.
    TAppletData read(const TAppletData &base) const;
    void show(const TAppletData &data);

    // A colour panel holds its colour in the property "colour" and shows it as its face, and
    // its hex value in its "_meaning" label.
    static void showColour(QPushButton &panel, const QColor &colour);
    static QColor colourOf(const QPushButton &panel);

private:
    struct Control
    {
        const ShowField *field;
        QWidget *widget;
        QWidget *other;  // the "web" radio button of convertTo, else null
        QLabel *meaning; // what the value means, or null
    };

    static void showMeaning(const ShowField &field, QLabel *meaning, const std::string &stored);

    std::string readControl(const Control &control) const;
    void showControl(const Control &control, const std::string &stored);

    std::vector<Control> m_controls;
};
