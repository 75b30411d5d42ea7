#include "EditHistory.h"

EditHistory::EditHistory(std::size_t maxSteps, std::size_t maxBytes)
    : m_maxSteps(maxSteps), m_maxBytes(maxBytes)
{}

DesignTree::Node EditHistory::perform(std::unique_ptr<ProjectEdit> edit, EditTarget &target)
{
    const DesignTree::Node selected = edit->redo(target);
    while (m_steps.size() > m_position) {
        m_bytes -= m_steps.back()->bytes();
        m_steps.pop_back();
    }
    if (m_clean && *m_clean > m_position)
        m_clean.reset(); // the saved state was among the steps undone
    m_bytes += edit->bytes();
    m_steps.push_back(std::move(edit));
    ++m_position;
    while (m_steps.size() > 1 && (m_steps.size() > m_maxSteps || m_bytes > m_maxBytes))
        dropOldest();
    return selected;
}

void EditHistory::dropOldest()
{
    m_bytes -= m_steps.front()->bytes();
    m_steps.pop_front();
    --m_position;
    if (m_clean && *m_clean == 0)
        m_clean.reset();
    else if (m_clean)
        --*m_clean;
}

DesignTree::Node EditHistory::undo(EditTarget &target)
{
    if (!canUndo())
        return nullptr;
    const DesignTree::Node selected = m_steps[m_position - 1]->undo(target);
    --m_position;
    return selected;
}

DesignTree::Node EditHistory::redo(EditTarget &target)
{
    if (!canRedo())
        return nullptr;
    const DesignTree::Node selected = m_steps[m_position]->redo(target);
    ++m_position;
    return selected;
}

std::string EditHistory::undoName() const
{
    return canUndo() ? m_steps[m_position - 1]->name() : std::string();
}

std::string EditHistory::redoName() const
{
    return canRedo() ? m_steps[m_position]->name() : std::string();
}

void EditHistory::clear()
{
    m_steps.clear();
    m_position = 0;
    m_clean = 0;
    m_bytes = 0;
}
