// Loads the input as an XML file and walks every node, as the readers of
// settings, bookmarks and playlists do.
#include "FuzzFile.h"
#include "os/XmlNode.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile fuzz(data, size);
    os::XmlNode doc = os::XmlNode::load_file(fuzz.path());
    std::vector<os::XmlNode> pending { doc };
    std::u16string text;
    int value = 0;
    bool flag = false;
    for (int visited = 0; !pending.empty() && visited < 10000; ++visited) {
        os::XmlNode node = pending.back();
        pending.pop_back();
        std::u16string name = os::XmlNode::get_name(node);
        os::XmlNode::get_text(node, text);
        os::XmlNode::get_attribute_int(node, u"Volume", value);
        os::XmlNode::get_attribute_bool(node, u"Shuffle", flag);
        os::XmlNode::get_attribute_string(node, name, text);
        os::XmlNode::find_child(node, u"Settings");
        int count = os::XmlNode::child_count(node);
        for (int i = 0; i < count; ++i)
            pending.push_back(os::XmlNode::child_at(node, i));
    }
    return 0;
}
