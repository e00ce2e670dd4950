#include "model/Schedule.h"

#include "os/XmlNode.h"

#include <algorithm>

int Schedule::insertion_point(const liba::DateTime& time) const
{
    auto at = std::upper_bound(m_tasks.begin(), m_tasks.end(), time,
        [](const liba::DateTime& t, const ScheduleTask& task) { return task.begin.is_after(t); });
    return static_cast<int>(at - m_tasks.begin());
}

int Schedule::insert(const ScheduleTask& task)
{
    const int i = insertion_point(task.begin);
    if (i > 0 && m_tasks[i - 1].end.is_after(task.begin))
        return -1;
    if (i < size() && m_tasks[i].begin.is_before(task.end))
        return -1;
    m_tasks.insert(m_tasks.begin() + i, task);
    return i;
}

void Schedule::remove(int index)
{
    if (index >= 0 && index < size())
        m_tasks.erase(m_tasks.begin() + index);
}

int Schedule::find_containing(const liba::DateTime& time) const
{
    const int i = insertion_point(time);
    return i > 0 && m_tasks[i - 1].end.is_after(time) ? i - 1 : -1;
}

int Schedule::find_next(const liba::DateTime& time) const
{
    const int i = insertion_point(time);
    return i == size() ? -1 : i;
}

void Schedule::save(const os::XmlNode& element) const
{
    for (const ScheduleTask& task : m_tasks)
        task.save(os::XmlNode::append_element(element, u"Task"));
}

void Schedule::load(const os::XmlNode& element)
{
    m_tasks.clear();
    for (os::XmlNode child = os::XmlNode::child_at(element, 0); child.is_valid();
         child = os::XmlNode::next_sibling(child)) {
        // Comments and text between the tasks are no tasks.
        if (!os::XmlNode::is_element(child))
            continue;
        ScheduleTask task;
        task.load(child);
        m_tasks.push_back(task);
    }
}
