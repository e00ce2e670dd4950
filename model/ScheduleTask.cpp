#include "model/ScheduleTask.h"

#include "os/XmlNode.h"

ScheduleTask::ScheduleTask(const liba::DateTime& begin, const liba::DateTime& end)
    : begin(begin)
    , end(end)
{
}

void ScheduleTask::save(const os::XmlNode& element) const
{
    os::XmlNode::set_attribute_date_time(element, u"Begin", begin);
    os::XmlNode::set_attribute_date_time(element, u"End", end);
}

void ScheduleTask::load(const os::XmlNode& element)
{
    begin = {};
    end = {};
    os::XmlNode::get_attribute_date_time(element, u"Begin", begin);
    os::XmlNode::get_attribute_date_time(element, u"End", end);
}
