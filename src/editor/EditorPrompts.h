#pragma once

// The questions of the core's commands and those only the editor asks: a colour for a
// panel. The program answers with real dialogs (QtUserPrompts), tests from a script.

#include "model/UserPrompts.h"

#include <QColor>
#include <optional>

class EditorPrompts : public UserPrompts
{
public:
    virtual std::optional<QColor> chooseColour(const QColor &initial) = 0;
};
