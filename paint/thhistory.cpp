#include "thhistory.h"

THHistory::THHistory(std::size_t depth)
    : m_depth(std::max<std::size_t>(depth, 1))
{
}

void THHistory::record(const THGrid &before, const THGrid &after)
{
    if (before == after)
        return;
    Step step;
    if (before.rows() != after.rows() || before.cols() != after.cols()) {
        step.whole = true;
        step.before = before;
        step.after = after;
    } else {
        const std::vector<THCell> &b = before.cells();
        const std::vector<THCell> &a = after.cells();
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!(b[i] == a[i]))
                step.changes.push_back({i, b[i], a[i]});
        }
    }
    m_redo.clear();
    m_undo.push_back(std::move(step));
    while (m_undo.size() > m_depth)
        m_undo.pop_front();
}

void THHistory::apply(const Step &step, THGrid &grid, bool forward)
{
    if (step.whole) {
        grid = forward ? step.after : step.before;
        return;
    }
    std::vector<THCell> &cells = grid.cells();
    for (const Change &change : step.changes) {
        if (change.index < cells.size())
            cells[change.index] = forward ? change.after : change.before;
    }
}

bool THHistory::step(std::deque<Step> &from, std::deque<Step> &to, THGrid &grid, bool forward)
{
    if (from.empty())
        return false;
    apply(from.back(), grid, forward);
    to.push_back(std::move(from.back()));
    from.pop_back();
    return true;
}

bool THHistory::undo(THGrid &grid)
{
    return step(m_undo, m_redo, grid, false);
}

bool THHistory::redo(THGrid &grid)
{
    return step(m_redo, m_undo, grid, true);
}

void THHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}
