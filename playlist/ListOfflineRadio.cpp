#include "playlist/ListOfflineRadio.h"

#include "os/XmlNode.h"
#include "playlist/TimeText.h"
#include "playlist/XmlFields.h"

#include <algorithm>
#include <utility>

namespace playlist {

using os::XmlNode;

namespace {

// Children of "AudioInfo" and the attribute keys they hold.
constexpr std::pair<std::u16string_view, std::u16string_view> info_fields[] = {
    { u"Title", u"title" },
    { u"Artist", u"artist" },
    { u"Number", u"MediaID" },
    { u"Comment", u"MediaComment" },
};

constexpr double hundred_ns_per_second = 10'000'000;

// -1 means none; other negative values count as none too.
void read_fade(const XmlNode& event, std::u16string_view name, double& seconds)
{
    if (child_number(event, name, seconds))
        seconds = seconds == -1 ? 0.0 : std::max(0.0, seconds / 1000);
}

// "EndFadeDown" is where the fade-out begins; what follows the fade-out is cut.
void read_clip_end(const XmlNode& event, Entry& entry)
{
    double fade_down = 0.0;
    if (child_number(event, u"EndFadeDown", fade_down))
        entry.clip_end
            = fade_down == -1 ? 0.0 : std::max(0.0, entry.duration - fade_down / 1000 - entry.fade_out);
}

// An event's "CrossFade" tells how far the next event starts before this
// one's clipped end; carried holds that start for the next event.
void read_cross_fade(const XmlNode& event, Entry& entry, double& carried)
{
    if (!XmlNode::find_child(event, u"CrossFade").is_valid())
        return;
    entry.start_offset = carried;
    double cross_fade = 0.0;
    child_number_with_unit(event, u"CrossFade", cross_fade);
    carried = entry.clip_end - cross_fade / 1000;
}

Entry read_event(const XmlNode& event, double& carried)
{
    Entry entry;
    child_text(event, u"FileName", entry.path);
    if (child_number_with_unit(event, u"AudioLength", entry.duration))
        entry.duration /= 1000;
    read_fade(event, u"StartFadeUp", entry.clip_begin);
    read_fade(event, u"StartFadeUpLength", entry.fade_in);
    read_fade(event, u"EndFadeDownLength", entry.fade_out);
    read_clip_end(event, entry);
    read_cross_fade(event, entry, carried);
    read_attribute(event, u"EntryType", entry, u"EntryType");
    XmlNode info = XmlNode::find_child(event, u"AudioInfo");
    for (auto [name, key] : info_fields)
        read_attribute(info, name, entry, std::u16string(key));
    return entry;
}

// running is where the previous event ended; the first events that start
// at 0 are written as starting there whatever their offset.
void write_event(const XmlNode& root, const Entry& entry, const Entry* next, double& running)
{
    XmlNode event = XmlNode::append_element(root, u"LogEvent");
    append_text(event, u"FileName", entry.path);
    append_text(event, u"AudioLength", scaled_int_text(entry.duration, 1000));
    append_text(event, u"StartFadeUp", scaled_int_text(entry.clip_begin, 1000));
    append_text(event, u"StartFadeUpLength", scaled_int_text(entry.fade_in, 1000));
    append_text(event, u"EndFadeDownLength", scaled_int_text(entry.fade_out, 1000));
    append_text(
        event, u"EndFadeDown", scaled_int_text(entry.duration - entry.fade_out - entry.clip_end, 1000));
    append_text(
        event, u"CrossFade", next ? scaled_int_text(entry.clip_end - next->start_offset, 1000) : u"0");
    if (running == 0.0) {
        append_text(event, u"StartTime", u"0");
    } else {
        running += entry.start_offset;
        append_text(event, u"StartTime", scaled_long_text(running, hundred_ns_per_second));
    }
    if (entry.attributes.contains(u"EntryType"))
        append_text(event, u"EntryType", attribute_text(entry, u"EntryType"));
    XmlNode info = XmlNode::append_element(event, u"AudioInfo");
    for (auto [name, key] : info_fields)
        append_text(info, name, attribute_text(entry, std::u16string(key)));
    append_text(event, u"Track", scaled_int_text(entry.track, 1));
    running += entry.duration;
}

}

ListOfflineRadio::ListOfflineRadio(const std::u16string& path)
    : List(u"log")
{
    XmlNode root = XmlNode::find_child(XmlNode::load_file(path), u"Log");
    if (!root.is_valid())
        return;
    double carried = 0.0;
    for_each_child(
        root, u"LogEvent", [&](const XmlNode& event) { m_entries.push_back(read_event(event, carried)); });
    m_loaded = true;
}

bool ListOfflineRadio::save(const std::u16string& path)
{
    XmlNode document = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(document, u"Log");
    double running = 0.0;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry* next = i + 1 < m_entries.size() ? &m_entries[i + 1] : nullptr;
        write_event(root, m_entries[i], next, running);
    }
    return XmlNode::save_file(document, path);
}

}
