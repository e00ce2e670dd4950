#include "model/RangeMarkList.h"

#include "liba/Conversion.h"
#include "os/Log.h"
#include "os/XmlNode.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::u16string_view root_name = u"Bookmarks";
constexpr std::u16string_view mark_name = u"Bookmark";
constexpr std::u16string_view name_attribute = u"Name";
constexpr std::u16string_view position_attribute = u"Position";
constexpr std::u16string_view play_attribute = u"Play";

// Shifting never wraps: a hostile file may hold positions near the top.
std::int64_t shifted(std::int64_t position, std::int64_t by)
{
    std::int64_t result;
    if (__builtin_add_overflow(position, by, &result))
        return by > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return result;
}

std::int64_t distance(std::int64_t from, std::int64_t to)
{
    std::int64_t result;
    if (__builtin_sub_overflow(to, from, &result))
        return to > from ? std::numeric_limits<std::int64_t>::max()
                         : std::numeric_limits<std::int64_t>::min();
    return result;
}

// A decimal integer after optional blanks; anything else reads as 0.
// Positions are never negative, so a negative one reads as 0 too and no
// segment length can overflow.
std::int64_t parse_position(std::u16string_view text)
{
    const char16_t* at = liba::skip_spaces(text.data(), text.data() + text.size());
    const char16_t* end = text.data() + text.size();
    bool negative = false;
    if (at != end && (*at == u'+' || *at == u'-')) {
        negative = *at == u'-';
        ++at;
    }
    std::int64_t value = 0;
    for (; at != end && liba::is_digit(*at); ++at) {
        const int digit = *at - u'0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return negative ? 0 : std::numeric_limits<std::int64_t>::max();
        value = value * 10 + digit;
    }
    return negative ? 0 : value;
}

RangeMark read_mark(const os::XmlNode& node, int& played)
{
    RangeMark mark;
    os::XmlNode::get_attribute_string(node, name_attribute, mark.name);
    std::u16string position;
    if (os::XmlNode::get_attribute_string(node, position_attribute, position))
        mark.position = parse_position(position);
    bool play = false;
    os::XmlNode::get_attribute_bool(node, play_attribute, play);
    mark.play = play ? played++ : RangeMark::not_played;
    return mark;
}

void write_mark(const os::XmlNode& root, const RangeMark& mark, bool play)
{
    os::XmlNode element = os::XmlNode::append_element(root, mark_name);
    std::u16string position;
    liba::format_long(static_cast<long>(mark.position), position);
    os::XmlNode::set_attribute_string(element, name_attribute, mark.name);
    os::XmlNode::set_attribute_string(element, position_attribute, position);
    os::XmlNode::set_attribute_bool(element, play_attribute, play);
}

}

int RangeMarkList::checked_index(int index, std::u16string_view location) const
{
    if (index < 0 || index >= mark_count())
        os::fatal_error(location, u"index is invalid");
    return index;
}

int RangeMarkList::checked_slot(int slot, std::u16string_view location) const
{
    if (slot < 0 || slot >= play_count())
        os::fatal_error(location, u"slot is invalid");
    return slot;
}

RangeMark& RangeMarkList::mark(int index)
{
    return m_marks[checked_index(index, u"RangeMarkList::mark")];
}

const RangeMark& RangeMarkList::mark(int index) const
{
    return m_marks[checked_index(index, u"RangeMarkList::mark")];
}

RangeMark& RangeMarkList::play_mark(int slot)
{
    return m_marks[m_play_order[checked_slot(slot, u"RangeMarkList::play_mark")]];
}

const RangeMark& RangeMarkList::play_mark(int slot) const
{
    return m_marks[m_play_order[checked_slot(slot, u"RangeMarkList::play_mark")]];
}

std::int64_t RangeMarkList::mark_length(int index, std::int64_t total) const
{
    checked_index(index, u"RangeMarkList::mark_length");
    const std::int64_t end = index + 1 < mark_count() ? m_marks[index + 1].position : total;
    return distance(m_marks[index].position, end);
}

std::int64_t RangeMarkList::play_length(int slot, std::int64_t total) const
{
    return mark_length(m_play_order[checked_slot(slot, u"RangeMarkList::play_length")], total);
}

int RangeMarkList::insert(std::int64_t position, std::u16string name, bool also_play)
{
    auto found = std::lower_bound(m_marks.begin(), m_marks.end(), position,
        [](const RangeMark& mark, std::int64_t value) { return mark.position < value; });
    const int index = static_cast<int>(found - m_marks.begin());
    if (found != m_marks.end() && found->position == position)
        return index;

    m_marks.insert(found, RangeMark { std::move(name), position, RangeMark::not_played });
    for (int& entry : m_play_order) {
        if (entry >= index)
            ++entry;
    }
    if (also_play)
        append_to_play(index);
    return index;
}

void RangeMarkList::append_to_play(int index)
{
    RangeMark& target = m_marks[checked_index(index, u"RangeMarkList::append_to_play")];
    if (target.play != RangeMark::not_played)
        return;
    target.play = play_count();
    m_play_order.push_back(index);
}

int RangeMarkList::add(std::int64_t position, std::u16string name)
{
    const int count_before = mark_count();
    const int index = insert(position, std::move(name), false);
    // A mark already there keeps its state: marking a position again must
    // not start playing a segment the user left out.
    if (mark_count() == count_before)
        return index;

    for (int slot = 0; slot < play_count(); ++slot) {
        const int played = m_play_order[slot];
        const RangeMark& before = m_marks[played];
        if (before.position >= position)
            continue;
        const bool last = played == mark_count() - 1;
        if (last || distance(before.position, position) <= play_length(slot, 0)) {
            m_play_order.insert(m_play_order.begin() + slot + 1, index);
            m_marks[index].play = slot;
            return index;
        }
    }
    return index;
}

void RangeMarkList::push_mark(const RangeMark& mark)
{
    m_marks.push_back(mark);
}

void RangeMarkList::merge(const RangeMarkList& other, std::int64_t at, std::int64_t length)
{
    length = std::max<std::int64_t>(length, 0);
    std::vector<RangeMark> inserted = other.m_marks;
    const std::int64_t end = shifted(at, length);
    for (RangeMark& mark : inserted) {
        // Kept inside the inserted stretch, so the marks stay sorted even
        // when the other list runs past the length it was given.
        mark.position = std::clamp(shifted(mark.position, at), at, end);
        // Unplayed, since the play order does not take them: a played value
        // outside the play order would drop the mark from the saved file.
        mark.play = RangeMark::not_played;
    }

    auto after = std::upper_bound(m_marks.begin(), m_marks.end(), at,
        [](std::int64_t value, const RangeMark& mark) { return value < mark.position; });
    const int first = static_cast<int>(after - m_marks.begin());
    for (auto it = after; it != m_marks.end(); ++it)
        it->position = shifted(it->position, length);
    m_marks.insert(after, inserted.begin(), inserted.end());

    const int count = static_cast<int>(inserted.size());
    for (int& entry : m_play_order) {
        if (entry >= first)
            entry += count;
    }
}

RangeMarkList RangeMarkList::load(const std::u16string& path)
{
    RangeMarkList list;
    const os::XmlNode root = os::XmlNode::find_child(os::XmlNode::load_file(path), root_name);
    const int children = os::XmlNode::child_count(root);
    int played = 0;
    for (int i = 0; i < children; ++i) {
        const os::XmlNode child = os::XmlNode::child_at(root, i);
        // Text, comments and CDATA are no marks; element names are not checked.
        if (os::XmlNode::get_name(child).starts_with(u'#'))
            continue;
        list.push_mark(read_mark(child, played));
    }

    std::stable_sort(list.m_marks.begin(), list.m_marks.end(),
        [](const RangeMark& a, const RangeMark& b) { return a.position < b.position; });
    for (int index = 0; index < list.mark_count(); ++index) {
        if (list.m_marks[index].play != RangeMark::not_played)
            list.m_play_order.push_back(index);
    }
    std::sort(list.m_play_order.begin(), list.m_play_order.end(),
        [&list](int a, int b) { return list.m_marks[a].play < list.m_marks[b].play; });
    return list;
}

bool RangeMarkList::save(const std::u16string& path) const
{
    os::XmlNode document = os::XmlNode::create_document();
    os::XmlNode root = os::XmlNode::append_element(document, root_name);
    for (int index : m_play_order)
        write_mark(root, m_marks[index], true);
    for (const RangeMark& mark : m_marks) {
        if (mark.play == RangeMark::not_played)
            write_mark(root, mark, false);
    }
    return os::XmlNode::save_file(document, path);
}

int next_valid_index(const RangeMarkList& list, int slot)
{
    const int count = list.play_count();
    for (int next = slot < 0 ? 0 : std::min(slot, count - 1) + 1; next < count; ++next) {
        if (list.play_mark(next).play != RangeMark::not_played)
            return next;
    }
    return count;
}
