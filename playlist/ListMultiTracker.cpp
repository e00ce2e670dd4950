#include "playlist/ListMultiTracker.h"

#include "liba/Conversion.h"
#include "os/XmlNode.h"
#include "playlist/TimeText.h"
#include "playlist/XmlFields.h"

#include <utility>

namespace playlist {

using os::XmlNode;

namespace {

// Element name and attribute key of the descriptive texts, in file order.
constexpr std::pair<std::u16string_view, std::u16string_view> text_fields[] = {
    { u"MediaTitle", u"title" },
    { u"MediaArtist", u"artist" },
    { u"MediaID", u"MediaID" },
    { u"MediaType", u"MediaType" },
    { u"DetailRefID", u"DetailRefID" },
    { u"MediaComment", u"MediaComment" },
    { u"Status", u"Status" },
    { u"Override", u"Override" },
    { u"RelaxEarly", u"RelaxEarly" },
    { u"RelaxLate", u"RelaxLate" },
};

void read_milliseconds(const XmlNode& event, std::u16string_view name, double& seconds)
{
    if (child_number(event, name, seconds))
        seconds /= 1000;
}

// An event is placed by its absolute "StartTime" when that is not negative,
// else by "StartNext", the overlap with the previous event; running is where
// the previous event ended.
void read_timing(const XmlNode& event, Entry& entry, double& running)
{
    double start = -1.0;
    double next = 0.0;
    if (child_number(event, u"StartTime", start) && start >= 0) {
        entry.start_offset = start / 1000 - running;
        running = start / 1000 + entry.duration;
    } else if (XmlNode::find_child(event, u"StartNext").is_valid()) {
        child_number(event, u"StartNext", next);
        entry.start_offset = -next / 1000;
        running += entry.start_offset + entry.duration;
    }
}

Entry read_event(const XmlNode& event, double& running)
{
    Entry entry;
    child_text(event, u"MediaLocation", entry.path);
    if (child_number_with_unit(event, u"MediaLength", entry.duration))
        entry.duration /= 1000;
    read_milliseconds(event, u"ClipBeg", entry.clip_begin);
    read_milliseconds(event, u"FadeIn", entry.fade_in);
    read_milliseconds(event, u"FadeOut", entry.fade_out);
    read_milliseconds(event, u"ClipEnd", entry.clip_end);
    read_timing(event, entry, running);
    for (auto [name, key] : text_fields)
        read_attribute(event, name, entry, std::u16string(key));
    std::u16string track;
    if (child_text(event, u"Track", track))
        liba::text_to_int(track, entry.track);
    return entry;
}

void read_header(const XmlNode& root, Header& header)
{
    XmlNode::get_attribute_string(root, u"HeaderID", header.id);
    XmlNode::get_attribute_string(root, u"Name", header.name);
    // Parsed into a fresh value: the default start, now, has milliseconds
    // that the text form lacks.
    std::u16string text;
    liba::DateTime start;
    if (XmlNode::get_attribute(root, u"StartTime", text)
        && start.parse(text.data(), text.data() + text.size()))
        header.start_time = start;
}

void write_event(const XmlNode& root, const Entry& entry, double& running)
{
    XmlNode event = XmlNode::append_element(root, u"LogEvent");
    append_text(event, u"MediaLocation", entry.path);
    append_text(event, u"MediaLength", scaled_int_text(entry.duration, 1000));
    append_text(event, u"ClipBeg", scaled_int_text(entry.clip_begin, 1000));
    append_text(event, u"FadeIn", scaled_int_text(entry.fade_in, 1000));
    append_text(event, u"FadeOut", scaled_int_text(entry.fade_out, 1000));
    append_text(event, u"ClipEnd", scaled_int_text(entry.clip_end, 1000));
    append_text(event, u"StartNext", scaled_int_text(entry.start_offset, -1000));
    append_text(event, u"StartTime", scaled_int_text(entry.start_offset + running, 1000));
    running += entry.start_offset + entry.duration;
    for (auto [name, key] : text_fields)
        append_text(event, name, attribute_text(entry, std::u16string(key)));
    append_text(event, u"Track", scaled_int_text(entry.track, 1));
}

}

ListMultiTracker::ListMultiTracker(const std::u16string& path)
    : List(u"mtr")
{
    XmlNode root = XmlNode::find_child(XmlNode::load_file(path), u"Log");
    std::u16string version;
    if (!XmlNode::get_attribute(root, u"version", version) || version != u"multitracker")
        return;
    read_header(root, m_header);
    double running = 0.0;
    for_each_child(
        root, u"LogEvent", [&](const XmlNode& event) { m_entries.push_back(read_event(event, running)); });
    m_loaded = true;
}

bool ListMultiTracker::save(const std::u16string& path)
{
    XmlNode document = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(document, u"Log");
    XmlNode::set_attribute_string(root, u"version", u"multitracker");
    XmlNode::set_attribute_string(root, u"HeaderID", m_header.id);
    XmlNode::set_attribute_string(root, u"Name", m_header.name);
    std::string start;
    if (m_header.start_time.to_string(start))
        XmlNode::set_attribute_string(root, u"StartTime", liba::to_wide(start));
    double running = 0.0;
    for (const Entry& entry : m_entries)
        write_event(root, entry, running);
    return XmlNode::save_file(document, path);
}

}
