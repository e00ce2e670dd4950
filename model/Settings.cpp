#include "model/Settings.h"

#include "liba/Conversion.h"
#include "liba/Path.h"
#include "model/FileAssociation.h"
#include "os/PathMacros.h"
#include "os/Registry.h"
#include "os/XmlNode.h"
#include "platform/FileAssociations.h"

using os::XmlNode;

namespace {

// The hardware keys the UI framework has listed for the device.
constexpr std::u16string_view hardware_keys_key = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys";

int hardware_key_count()
{
    return static_cast<int>(os::registry_enum_subkeys(hardware_keys_key).size());
}

std::u16string button_attribute(std::size_t index)
{
    std::u16string number;
    liba::format_long(static_cast<long>(index), number);
    return u"Button" + number;
}

constexpr std::u16string_view equalizer_elements[] = { u"Equalizer1", u"Equalizer2", u"Equalizer3" };

}

Settings::Settings()
{
    os::expand_path(u"%my_documents%", folder);
    os::expand_path(u"%my_documents%", explorer_folder);
    skin = liba::join_path(
        liba::join_path(u"%app_path%", u"skins"), liba::join_path(u"Default", u"Default.skin"));
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

bool Settings::save(const std::u16string& path) const
{
    XmlNode document = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(document, u"Settings");

    XmlNode record = XmlNode::append_element(root, u"Record");
    XmlNode::set_attribute_string(record, u"Codec", codec);
    XmlNode::set_attribute_int(record, u"Channels", channels);
    XmlNode::set_attribute_int(record, u"Bits", bits);
    XmlNode::set_attribute_int(record, u"Samples", samples);
    XmlNode::set_attribute_int(record, u"Bitrate", bitrate);
    XmlNode::set_attribute_bool(record, u"DefaultFolder", default_folder);
    XmlNode::set_attribute_string(record, u"Folder", folder);
    XmlNode::set_attribute_bool(record, u"DateFolder", date_folder);
    XmlNode::set_attribute_string(record, u"Prefix", prefix);
    XmlNode::set_attribute_bool(record, u"IncludeDate", include_date);
    XmlNode::set_attribute_int(record, u"TurnOff", record_turn_off);
    XmlNode::set_attribute_bool(record, u"VASOn", vas_on);
    XmlNode::set_attribute_double(record, u"Vas", vas);
    XmlNode::set_attribute_double(record, u"Input", input);

    XmlNode play = XmlNode::append_element(root, u"Play");
    XmlNode::set_attribute_double(play, u"Volume", volume);
    set_attribute_play_mode(play, u"Mode", play_mode);
    XmlNode::set_attribute_int(play, u"TurnOff", play_turn_off);
    XmlNode::set_attribute_string(play, u"AssociateMP3Cmd", associate_mp3_cmd);
    XmlNode::set_attribute_string(play, u"AssociateWAVCmd", associate_wav_cmd);
    XmlNode::set_attribute_string(play, u"AssociateM3UCmd", associate_m3u_cmd);
    XmlNode::set_attribute_string(play, u"AssociateOGGCmd", associate_ogg_cmd);
    XmlNode::set_attribute_string(play, u"AssociateWMACmd", associate_wma_cmd);
    XmlNode::set_attribute_string(play, u"AssociateMP3Icon", associate_mp3_icon);
    XmlNode::set_attribute_string(play, u"AssociateWAVIcon", associate_wav_icon);
    XmlNode::set_attribute_string(play, u"AssociateM3UIcon", associate_m3u_icon);
    XmlNode::set_attribute_string(play, u"AssociateOGGIcon", associate_ogg_icon);
    XmlNode::set_attribute_string(play, u"AssociateWMAIcon", associate_wma_icon);
    XmlNode::set_attribute_int(play, u"Booster", booster);
    XmlNode::set_attribute_int(play, u"Noise", noise);
    XmlNode::set_attribute_int(play, u"Limiter", limiter);
    XmlNode::set_attribute_double(play, u"Speed", speed);
    XmlNode::set_attribute_bool(play, u"PitchLock", pitch_lock);

    XmlNode::set_attribute_string(XmlNode::append_element(root, u"Language"), u"Language", language);

    XmlNode keys = XmlNode::append_element(root, u"Buttons");
    for (std::size_t i = 0; i < buttons.size(); ++i)
        XmlNode::set_attribute_string(keys, button_attribute(i), buttons[i]);
    XmlNode::set_attribute_bool(keys, u"UnmapWhenInactive", unmap_when_inactive);
    XmlNode::set_attribute_string(keys, u"JoyLeftAction", joy_left_action);
    XmlNode::set_attribute_string(keys, u"JoyRightAction", joy_right_action);

    XmlNode explorer = XmlNode::append_element(root, u"FileExplorer");
    XmlNode::set_attribute_bool(explorer, u"ShowFolders", show_folders);
    XmlNode::set_attribute_string(explorer, u"Folder", explorer_folder);
    set_attribute_sort_mode(explorer, u"Sort", sort);

    XmlNode::set_attribute_string(XmlNode::append_element(root, u"Skin"), u"Skin", skin);

    for (std::size_t i = 0; i < equalizer.size(); ++i)
        equalizer[i].save(XmlNode::append_element(root, equalizer_elements[i]));

    schedule.save(XmlNode::append_element(root, u"Schedule"));
    return XmlNode::save_file(document, path);
}

void Settings::load(const std::u16string& path)
{
    const XmlNode root = XmlNode::find_child(XmlNode::load_file(path), u"Settings");

    const XmlNode record = XmlNode::find_child(root, u"Record");
    XmlNode::get_attribute_string(record, u"Codec", codec);
    XmlNode::get_attribute_int(record, u"Channels", channels);
    XmlNode::get_attribute_int(record, u"Bits", bits);
    XmlNode::get_attribute_int(record, u"Samples", samples);
    XmlNode::get_attribute_int(record, u"Bitrate", bitrate);
    XmlNode::get_attribute_bool(record, u"DefaultFolder", default_folder);
    XmlNode::get_attribute_string(record, u"Folder", folder);
    XmlNode::get_attribute_bool(record, u"DateFolder", date_folder);
    XmlNode::get_attribute_string(record, u"Prefix", prefix);
    XmlNode::get_attribute_bool(record, u"IncludeDate", include_date);
    XmlNode::get_attribute_int(record, u"TurnOff", record_turn_off);
    XmlNode::get_attribute_bool(record, u"VASOn", vas_on);
    XmlNode::get_attribute_double(record, u"Vas", vas);
    XmlNode::get_attribute_double(record, u"Input", input);

    const XmlNode play = XmlNode::find_child(root, u"Play");
    XmlNode::get_attribute_double(play, u"Volume", volume);
    get_attribute_play_mode(play, u"Mode", play_mode);
    XmlNode::get_attribute_int(play, u"TurnOff", play_turn_off);
    XmlNode::get_attribute_string(play, u"AssociateMP3Cmd", associate_mp3_cmd);
    XmlNode::get_attribute_string(play, u"AssociateWAVCmd", associate_wav_cmd);
    XmlNode::get_attribute_string(play, u"AssociateM3UCmd", associate_m3u_cmd);
    XmlNode::get_attribute_string(play, u"AssociateOGGCmd", associate_ogg_cmd);
    XmlNode::get_attribute_string(play, u"AssociateWMACmd", associate_wma_cmd);
    XmlNode::get_attribute_string(play, u"AssociateMP3Icon", associate_mp3_icon);
    XmlNode::get_attribute_string(play, u"AssociateWAVIcon", associate_wav_icon);
    XmlNode::get_attribute_string(play, u"AssociateM3UIcon", associate_m3u_icon);
    XmlNode::get_attribute_string(play, u"AssociateOGGIcon", associate_ogg_icon);
    XmlNode::get_attribute_string(play, u"AssociateWMAIcon", associate_wma_icon);
    XmlNode::get_attribute_int(play, u"Booster", booster);
    XmlNode::get_attribute_int(play, u"Noise", noise);
    XmlNode::get_attribute_int(play, u"Limiter", limiter);
    XmlNode::get_attribute_double(play, u"Speed", speed);
    XmlNode::get_attribute_bool(play, u"PitchLock", pitch_lock);

    XmlNode::get_attribute_string(XmlNode::find_child(root, u"Language"), u"Language", language);
    XmlNode::get_attribute_string(XmlNode::find_child(root, u"Skin"), u"Skin", skin);

    const XmlNode explorer = XmlNode::find_child(root, u"FileExplorer");
    XmlNode::get_attribute_bool(explorer, u"ShowFolders", show_folders);
    XmlNode::get_attribute_string(explorer, u"Folder", explorer_folder);
    get_attribute_sort_mode(explorer, u"Sort", sort);

    // Only the keys this device has: the list keeps its size.
    const XmlNode keys = XmlNode::find_child(root, u"Buttons");
    for (std::size_t i = 0; i < buttons.size(); ++i)
        XmlNode::get_attribute_string(keys, button_attribute(i), buttons[i]);
    XmlNode::get_attribute_bool(keys, u"UnmapWhenInactive", unmap_when_inactive);
    XmlNode::get_attribute_string(keys, u"JoyLeftAction", joy_left_action);
    XmlNode::get_attribute_string(keys, u"JoyRightAction", joy_right_action);

    for (std::size_t i = 0; i < equalizer.size(); ++i)
        equalizer[i].load(XmlNode::find_child(root, equalizer_elements[i]));

    schedule.load(XmlNode::find_child(root, u"Schedule"));
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
