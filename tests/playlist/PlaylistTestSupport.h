#pragma once

#include "os/XmlNode.h"
#include "platform/core/Utf8.h"
#include "playlist/List.h"
#include "tests/support/TempDir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace test {

inline std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

inline std::u16string playlist_fixture(const std::string& name)
{
    return u16(fixture("playlist/" + name));
}

// Entries equal but for rounding in times computed from others.
inline testing::AssertionResult same_entries(
    const std::vector<playlist::Entry>& actual, const std::vector<playlist::Entry>& expected)
{
    if (actual.size() != expected.size())
        return testing::AssertionFailure() << actual.size() << " entries, not " << expected.size();
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const playlist::Entry& a = actual[i];
        const playlist::Entry& e = expected[i];
        const std::pair<double, double> times[] = { { a.duration, e.duration },
            { a.start_offset, e.start_offset }, { a.clip_begin, e.clip_begin }, { a.fade_in, e.fade_in },
            { a.clip_end, e.clip_end }, { a.fade_out, e.fade_out } };
        for (auto [x, y] : times) {
            if (!(std::fabs(x - y) < 1e-9))
                return testing::AssertionFailure() << "entry " << i << ": time " << x << ", not " << y;
        }
        if (a.path != e.path || a.track != e.track || a.attributes != e.attributes)
            return testing::AssertionFailure() << "entry " << i << ": path, track or attributes differ";
    }
    return testing::AssertionSuccess();
}

// The text of one child of each "LogEvent" of a saved log, in order;
// "<none>" where the child is missing.
inline std::vector<std::u16string> event_texts(const std::string& path, std::u16string_view child)
{
    using os::XmlNode;
    XmlNode root = XmlNode::find_child(XmlNode::load_file(u16(path)), u"Log");
    std::vector<std::u16string> texts;
    for (int i = 0; i < XmlNode::child_count(root); ++i) {
        XmlNode event = XmlNode::child_at(root, i);
        std::u16string text = u"<none>";
        XmlNode::get_text(XmlNode::find_child(event, child), text);
        texts.push_back(text);
    }
    return texts;
}

}
