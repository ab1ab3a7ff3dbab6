#pragma once

#include <QtGlobal>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kr31 {

// The undo and redo history of one editor, kept as whole snapshots of its
// model's value (an icon program, the flowchart pages, a melody). The history
// holds the state as last recorded; an editor records after each edit by
// handing over its model as it now stands, and an undo hands back the state
// to show.
//
// Same decides whether two values differ as a program: values that are the
// same for it (a flowchart only showing another page) record no step, but the
// newer one is kept, so that an undo shows the page where the edit was made.
//
// Steps of one group (one slider being dragged, one number being typed) join
// into a single step until the group is closed or another edit comes between.
// A saved-state marker tells when the model is what its file holds, so that
// undoing back to it clears the editor's modified mark.
template <typename T, typename Same = std::equal_to<T>>
class UndoHistory
{
public:
    using Group = int;
    static constexpr Group NoGroup = 0;
    static constexpr int DefaultDepth = 100;

    // depth: the most undo steps kept (at least 1); past it the oldest step is dropped.
    explicit UndoHistory(const T &current = T{}, int depth = DefaultDepth)
        : m_current(current)
        , m_depth(qMax(1, depth))
    {
    }

    // Forgets every step: current is all there is (a file opened, a reset).
    // saved: current is what the file holds (false for a file that broke
    // off, recovered work, or an editor whose mark stays set).
    void reset(const T &current, bool saved = true)
    {
        m_undo.clear();
        m_redo.clear();
        m_current = current;
        m_currentId = ++m_nextId;
        m_savedId = saved ? m_currentId : 0;
        m_group = NoGroup;
    }

    // Records the edit that led from the last recorded state to current and
    // drops what could be redone; true when a step was added or changed.
    // Nothing is recorded when current is the same. An edit of the group
    // recorded just before joins that step; a joined step that comes back to
    // where it started disappears.
    bool commit(const T &current, Group group = NoGroup)
    {
        if (m_same(current, m_current)) {
            m_current = current;
            return false;
        }
        m_redo.clear();
        if (group != NoGroup && group == m_group && !m_undo.empty()) {
            if (m_same(current, m_undo.back().state)) {
                m_currentId = m_undo.back().id;
                m_undo.pop_back();
                m_group = NoGroup;
            } else {
                m_currentId = ++m_nextId;
            }
            m_current = current;
            return true;
        }
        m_undo.push_back({std::move(m_current), m_currentId});
        if (int(m_undo.size()) > m_depth)
            m_undo.pop_front();
        m_current = current;
        m_currentId = ++m_nextId;
        m_group = group;
        return true;
    }

    // The next edit is a step of its own, whatever its group.
    void closeGroup() { m_group = NoGroup; }

    // The state before the last step (current recorded first); nothing when
    // there is none.
    std::optional<T> undo(const T &current) { return travel(current, m_undo, m_redo); }
    // The state the last undo left; nothing when there is none (an edit since
    // an undo drops what could be redone).
    std::optional<T> redo(const T &current) { return travel(current, m_redo, m_undo); }

    // current (recorded first) is what the file now holds.
    void markSaved(const T &current)
    {
        commit(current);
        m_group = NoGroup;
        m_savedId = m_currentId;
    }
    // No state is what the file holds any more.
    void forgetSaved() { m_savedId = 0; }
    // True when the recorded state is what the file holds.
    bool isSaved() const { return m_savedId != 0 && m_savedId == m_currentId; }

    int undoCount() const { return int(m_undo.size()); }
    int redoCount() const { return int(m_redo.size()); }
    int depth() const { return m_depth; }
    const T &current() const { return m_current; }

private:
    struct Entry
    {
        T state;
        quint64 id;
    };

    template <class From, class To>
    std::optional<T> travel(const T &current, From &from, To &to)
    {
        commit(current);
        m_group = NoGroup;
        if (from.empty())
            return std::nullopt;
        to.push_back({std::move(m_current), m_currentId});
        m_current = std::move(from.back().state);
        m_currentId = from.back().id;
        from.pop_back();
        return m_current;
    }

    std::deque<Entry> m_undo;
    std::vector<Entry> m_redo;
    T m_current;
    quint64 m_currentId = 1;
    quint64 m_nextId = 1;
    quint64 m_savedId = 1;
    Group m_group = NoGroup;
    int m_depth;
    Same m_same;
};

} // namespace kr31
