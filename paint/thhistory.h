#pragma once

#include "thgrid.h"

#include <cstddef>
#include <deque>
#include <vector>

// Undo and redo for the paint grid, one step per stroke, clear, rebuild or
// import. A step that keeps the grid's size holds only the cells it changed;
// one that changes the size holds both grids whole.
class THHistory
{
public:
    explicit THHistory(std::size_t depth = 100);

    // Records a step from `before` to `after` (nothing when they are equal)
    // and drops the steps that could have been redone.
    void record(const THGrid &before, const THGrid &after);

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::size_t undoCount() const { return m_undo.size(); }
    std::size_t depth() const { return m_depth; }

    // Turns `grid` (the state after the last step) into the state before it;
    // false when there is nothing to undo. redo() goes the other way.
    bool undo(THGrid &grid);
    bool redo(THGrid &grid);

    void clear();

private:
    struct Change
    {
        std::size_t index;
        THCell before;
        THCell after;
    };
    struct Step
    {
        std::vector<Change> changes; // same size
        THGrid before; // size changed: both whole
        THGrid after;
        bool whole = false;
    };
    static void apply(const Step &step, THGrid &grid, bool forward);
    static bool step(std::deque<Step> &from, std::deque<Step> &to, THGrid &grid, bool forward);

    std::size_t m_depth;
    std::deque<Step> m_undo;
    std::deque<Step> m_redo;
};
