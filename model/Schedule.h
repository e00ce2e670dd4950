#pragma once

#include "model/ScheduleTask.h"

#include <vector>

namespace os {
class XmlNode;
}

// The planned recordings. Tasks added by insert stay in order of their begin
// and never overlap, though one may end exactly where the next begins; tasks
// read from the file keep the file's order.
class Schedule {
public:
    // The index the task now has, or -1 (and nothing changes) when it would
    // overlap a neighbour.
    int insert(const ScheduleTask& task);
    // Does nothing for an index out of range.
    void remove(int index);

    void clear() { m_tasks.clear(); }

    int size() const { return static_cast<int>(m_tasks.size()); }

    bool empty() const { return m_tasks.empty(); }

    // The index must be valid.
    const ScheduleTask& operator[](int index) const { return m_tasks[static_cast<std::size_t>(index)]; }

    // The task that has begun by the time and not yet ended, or -1.
    int find_containing(const liba::DateTime& time) const;
    // The first task that begins after the time, or -1.
    int find_next(const liba::DateTime& time) const;

    // One "Task" child per task, in order.
    void save(const os::XmlNode& element) const;
    // Replaces the tasks with those of the element; none for an invalid one.
    void load(const os::XmlNode& element);

private:
    // The number of leading tasks that begin no later than the time.
    int insertion_point(const liba::DateTime& time) const;

    std::vector<ScheduleTask> m_tasks;
};
