// Loads the input as the settings file over the defaults, as the program
// does at start-up, and writes the record back as text.
#include "FuzzFile.h"
#include "model/Settings.h"
#include "os/XmlNode.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // No hardware keys from the user's registry: a fixed count of four.
    static const Settings defaults = [] {
        Settings s;
        s.buttons.assign(4, u"");
        return s;
    }();
    FuzzFile fuzz(data, size);
    Settings settings = defaults;
    settings.load(fuzz.path());
    settings.language_file();
    std::u16string text;
    for (int i = 0; i < settings.schedule.size(); ++i) {
        liba::DateTime::to_text(settings.schedule[i].begin, text);
        liba::DateTime::to_text(settings.schedule[i].end, text);
        settings.schedule.find_containing(settings.schedule[i].end);
    }
    os::XmlNode document = os::XmlNode::create_document();
    os::XmlNode root = os::XmlNode::append_element(document, u"Settings");
    settings.schedule.save(root);
    for (const auto& band : settings.equalizer)
        band.save(os::XmlNode::append_element(root, u"Band"));
    return 0;
}
