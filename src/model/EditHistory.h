#pragma once

// The editor's undo and redo: a list of edits and a position in it. The saved state is a
// position too, so undoing back to it clears the modified mark and redoing away sets it.
// The history keeps at most `maxSteps` steps and about `maxBytes` of them, dropping the
// oldest first, so a long session on a large project stays bounded.

#include "ProjectEdit.h"

#include <deque>
#include <memory>
#include <optional>

class EditHistory
{
public:
    explicit EditHistory(std::size_t maxSteps = 1000, std::size_t maxBytes = std::size_t(64) << 20);

    // Makes the edit and keeps it as the newest step; the steps that were undone go. When
    // the edit throws, nothing is kept.
    DesignTree::Node perform(std::unique_ptr<ProjectEdit> edit, EditTarget &target);
    DesignTree::Node undo(EditTarget &target);
    DesignTree::Node redo(EditTarget &target);

    bool canUndo() const { return m_position > 0; }
    bool canRedo() const { return m_position < m_steps.size(); }
    // Names of the steps undo and redo would take; empty when none.
    std::string undoName() const;
    std::string redoName() const;

    // Forgets every step; the state now is the saved one.
    void clear();
    // The state now is the saved one.
    void markClean() { m_clean = m_position; }
    // The saved state is out of reach (a change outside the history, a failed save).
    void forgetClean() { m_clean.reset(); }
    bool isClean() const { return m_clean == m_position; }

    std::size_t steps() const { return m_steps.size(); }
    std::size_t bytes() const { return m_bytes; }

private:
    void dropOldest();

    std::deque<std::unique_ptr<ProjectEdit>> m_steps;
    std::size_t m_position = 0;
    std::optional<std::size_t> m_clean = 0;
    std::size_t m_bytes = 0;
    std::size_t m_maxSteps;
    std::size_t m_maxBytes;
};
