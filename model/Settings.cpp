#include "model/Settings.h"

#include "liba/Conversion.h"
#include "liba/Path.h"
#include "model/FileAssociation.h"
#include "os/PathMacros.h"
#include "os/Registry.h"
#include "os/XmlNode.h"
#include "platform/core/FileAssociations.h"

#include <variant>

using os::XmlNode;

namespace {

// The hardware keys the UI framework has listed for the device.
constexpr std::u16string_view hardware_keys_key = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys";

int hardware_key_count()
{
    return static_cast<int>(os::registry_enum_subkeys(hardware_keys_key).size());
}

}

Settings::Settings()
{
    os::expand_path(u"%my_documents%", folder);
    os::expand_path(u"%my_documents%", explorer_folder);
    skin = liba::join_path(os::skins_folder(), liba::join_path(u"Default", u"Default.skin"));
    buttons.resize(static_cast<std::size_t>(hardware_key_count()));
}

std::u16string Settings::language_file() const
{
    return liba::join_path(u"%app_path%", language + u".lng");
}

std::u16string Settings::file_path()
{
    return liba::join_path(u"%app_path%", u"Orvanta.xml");
}

namespace {

// The buttons' attributes: the name followed by each key's index.
using ButtonList = std::vector<std::u16string> Settings::*;

// An equalizer band, stored as an element of its own.
struct Band {
    std::size_t index;
};

using Member = std::variant<int Settings::*, bool Settings::*, double Settings::*, std::u16string Settings::*,
    PlayMode Settings::*, SortMode Settings::*, ButtonList, Band, Schedule Settings::*>;

// Where each stored member lives in the file: an attribute of an element, or
// the whole element when the attribute is empty. The file is written in the
// table's order, and what is written is what is read.
struct Field {
    std::u16string_view element;
    std::u16string_view attribute;
    Member member;
};

const Field fields[] = {
    { u"Record", u"Codec", &Settings::codec },
    { u"Record", u"Channels", &Settings::channels },
    { u"Record", u"Bits", &Settings::bits },
    { u"Record", u"Samples", &Settings::samples },
    { u"Record", u"Bitrate", &Settings::bitrate },
    { u"Record", u"DefaultFolder", &Settings::default_folder },
    { u"Record", u"Folder", &Settings::folder },
    { u"Record", u"DateFolder", &Settings::date_folder },
    { u"Record", u"Prefix", &Settings::prefix },
    { u"Record", u"IncludeDate", &Settings::include_date },
    { u"Record", u"TurnOff", &Settings::record_turn_off },
    { u"Record", u"VASOn", &Settings::vas_on },
    { u"Record", u"Vas", &Settings::vas },
    { u"Record", u"Input", &Settings::input },
    { u"Play", u"Volume", &Settings::volume },
    { u"Play", u"Mode", &Settings::play_mode },
    { u"Play", u"TurnOff", &Settings::play_turn_off },
    { u"Play", u"AssociateMP3Cmd", &Settings::associate_mp3_cmd },
    { u"Play", u"AssociateWAVCmd", &Settings::associate_wav_cmd },
    { u"Play", u"AssociateM3UCmd", &Settings::associate_m3u_cmd },
    { u"Play", u"AssociateOGGCmd", &Settings::associate_ogg_cmd },
    { u"Play", u"AssociateWMACmd", &Settings::associate_wma_cmd },
    { u"Play", u"AssociateMP3Icon", &Settings::associate_mp3_icon },
    { u"Play", u"AssociateWAVIcon", &Settings::associate_wav_icon },
    { u"Play", u"AssociateM3UIcon", &Settings::associate_m3u_icon },
    { u"Play", u"AssociateOGGIcon", &Settings::associate_ogg_icon },
    { u"Play", u"AssociateWMAIcon", &Settings::associate_wma_icon },
    { u"Play", u"Booster", &Settings::booster },
    { u"Play", u"Noise", &Settings::noise },
    { u"Play", u"Limiter", &Settings::limiter },
    { u"Play", u"Speed", &Settings::speed },
    { u"Play", u"PitchLock", &Settings::pitch_lock },
    { u"Language", u"Language", &Settings::language },
    { u"Buttons", u"Button", &Settings::buttons },
    { u"Buttons", u"UnmapWhenInactive", &Settings::unmap_when_inactive },
    { u"Buttons", u"JoyLeftAction", &Settings::joy_left_action },
    { u"Buttons", u"JoyRightAction", &Settings::joy_right_action },
    { u"FileExplorer", u"ShowFolders", &Settings::show_folders },
    { u"FileExplorer", u"Folder", &Settings::explorer_folder },
    { u"FileExplorer", u"Sort", &Settings::sort },
    { u"Skin", u"Skin", &Settings::skin },
    { u"Equalizer1", {}, Band { 0 } },
    { u"Equalizer2", {}, Band { 1 } },
    { u"Equalizer3", {}, Band { 2 } },
    { u"Schedule", {}, &Settings::schedule },
};

std::u16string button_attribute(std::u16string_view name, std::size_t index)
{
    return std::u16string(name) + liba::number_text(static_cast<std::int64_t>(index));
}

// Writes one field; every kind of member needs its overload here and in Reader.
struct Writer {
    const Settings& settings;
    const XmlNode& element;
    std::u16string_view name;

    void operator()(int Settings::*m) const { XmlNode::set_attribute_int(element, name, settings.*m); }
    void operator()(bool Settings::*m) const { XmlNode::set_attribute_bool(element, name, settings.*m); }
    void operator()(double Settings::*m) const { XmlNode::set_attribute_double(element, name, settings.*m); }

    void operator()(std::u16string Settings::*m) const
    {
        XmlNode::set_attribute_string(element, name, settings.*m);
    }

    void operator()(PlayMode Settings::*m) const { set_attribute_play_mode(element, name, settings.*m); }
    void operator()(SortMode Settings::*m) const { set_attribute_sort_mode(element, name, settings.*m); }

    void operator()(ButtonList m) const
    {
        const auto& buttons = settings.*m;
        for (std::size_t i = 0; i < buttons.size(); ++i)
            XmlNode::set_attribute_string(element, button_attribute(name, i), buttons[i]);
    }

    void operator()(Band band) const { settings.equalizer[band.index].save(element); }
    void operator()(Schedule Settings::*m) const { (settings.*m).save(element); }
};

// Reads one field; what is missing or unreadable keeps its value.
struct Reader {
    Settings& settings;
    const XmlNode& element;
    std::u16string_view name;

    void operator()(int Settings::*m) const { XmlNode::get_attribute_int(element, name, settings.*m); }
    void operator()(bool Settings::*m) const { XmlNode::get_attribute_bool(element, name, settings.*m); }
    void operator()(double Settings::*m) const { XmlNode::get_attribute_double(element, name, settings.*m); }

    void operator()(std::u16string Settings::*m) const
    {
        XmlNode::get_attribute_string(element, name, settings.*m);
    }

    void operator()(PlayMode Settings::*m) const { get_attribute_play_mode(element, name, settings.*m); }
    void operator()(SortMode Settings::*m) const { get_attribute_sort_mode(element, name, settings.*m); }

    // Only the keys this device has: the list keeps its size.
    void operator()(ButtonList m) const
    {
        auto& buttons = settings.*m;
        for (std::size_t i = 0; i < buttons.size(); ++i)
            XmlNode::get_attribute_string(element, button_attribute(name, i), buttons[i]);
    }

    void operator()(Band band) const { settings.equalizer[band.index].load(element); }
    void operator()(Schedule Settings::*m) const { (settings.*m).load(element); }
};

}

bool Settings::save(const std::u16string& path) const
{
    XmlNode document = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(document, u"Settings");
    XmlNode element;
    std::u16string_view element_name;
    for (const Field& field : fields) {
        if (field.element != element_name) {
            element = XmlNode::append_element(root, field.element);
            element_name = field.element;
        }
        std::visit(Writer { *this, element, field.attribute }, field.member);
    }
    return XmlNode::save_file(document, path);
}

void Settings::load(const std::u16string& path)
{
    const XmlNode root = XmlNode::find_child(XmlNode::load_file(path), u"Settings");
    for (const Field& field : fields)
        std::visit(Reader { *this, XmlNode::find_child(root, field.element), field.attribute }, field.member);
    input_enabled = true;
}

void Settings::apply_associations(bool wav, bool mp3, bool m3u, bool ogg, bool wma)
{
    struct Type {
        bool enable;
        std::u16string_view extension;
        std::u16string_view type_name;
        std::u16string_view description;
        std::u16string& saved_command;
        std::u16string& saved_icon;
    } types[] = {
        { wav, u"wav", u"wavfile", u"Voice Recording", associate_wav_cmd, associate_wav_icon },
        { mp3, u"mp3", u"mp3sound", u"MP3 sound", associate_mp3_cmd, associate_mp3_icon },
        { m3u, u"m3u", u"m3ulists", u"M3U lists", associate_m3u_cmd, associate_m3u_icon },
        { ogg, u"ogg", u"oggfiles", u"Ogg Vorbis sound", associate_ogg_cmd, associate_ogg_icon },
        { wma, u"wma", u"wmafiles", u"Windows Media Audio file", associate_wma_cmd, associate_wma_icon },
    };

    const auto& associations = platform::file_associations();
    const std::u16string command = associations.own_command(), icon = associations.own_icon();
    for (auto& type : types) {
        apply_association(type.enable, type.extension, type.type_name, type.description, command, icon,
            type.saved_command, type.saved_icon);
    }
}
