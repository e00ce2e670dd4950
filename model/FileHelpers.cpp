#include "model/FileHelpers.h"

#include "liba/CaseMapping.h"
#include "liba/Conversion.h"
#include "liba/Path.h"
#include "os/FileInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int max_name_number = 9999;

constexpr std::array<std::u16string_view, 12> month_abbreviations { u"jan", u"feb", u"mar", u"apr", u"may",
    u"jun", u"jul", u"aug", u"sep", u"oct", u"nov", u"dec" };

std::u16string with_extension(
    std::u16string_view folder, std::u16string_view name, std::u16string_view extension)
{
    std::u16string file_name(name);
    file_name += u'.';
    file_name += extension;
    return liba::join_path(folder, file_name);
}

bool file_exists(std::u16string_view folder, std::u16string_view name, std::u16string_view extension)
{
    return os::FileInfo(with_extension(folder, name, extension)).exists();
}

std::u16string_view month_abbreviation(int month)
{
    if (month < 1 || month > 12)
        return u"";
    return month_abbreviations[static_cast<std::size_t>(month - 1)];
}

}

std::u16string get_lower_extension(std::u16string_view path)
{
    return liba::to_lower(liba::get_extension(path));
}

bool is_supported_sound_file(std::u16string_view path)
{
    const std::u16string extension = get_lower_extension(path);
    return std::find(sound_extensions.begin(), sound_extensions.end(), extension) != sound_extensions.end();
}

std::u16string bookmark_file_name(std::u16string_view path)
{
    return std::u16string(path) + u".bm";
}

std::u16string two_digit_text(int value)
{
    std::u16string text = liba::number_text(value);
    if (text.size() == 1)
        return u"0" + text;
    if (text.size() > 2)
        return text.substr(text.size() - 2);
    return text;
}

std::u16string replace_all(std::u16string_view text, std::u16string_view what, std::u16string_view with)
{
    std::u16string result(text);
    if (what.empty())
        return result;
    for (std::size_t at = result.find(what); at != std::u16string::npos; at = result.find(what, at)) {
        result.replace(at, what.size(), with);
        at += with.size();
    }
    return result;
}

std::u16string file_size_to_text(std::int64_t size)
{
    constexpr std::int64_t kilo = 1024;
    constexpr std::int64_t mega = 1024 * 1024;
    if (size == 0)
        return {};
    if (size < kilo)
        return liba::number_text(size) + u"B";
    if (size < mega)
        return liba::number_text(size / kilo) + u"K";
    // The tenths by integers: equal to the truncated decimal, without the
    // rounding of a double beyond 2^53 bytes.
    const std::int64_t whole = size / mega;
    const std::int64_t tenths = (size % mega) * 10 / mega;
    return liba::number_text(whole) + u"," + liba::number_text(tenths) + u"M";
}

std::u16string unique_file_name(
    std::u16string_view folder, std::u16string_view base, std::u16string_view extension)
{
    for (int number = 1; number <= max_name_number; ++number) {
        std::u16string candidate = std::u16string(base) + liba::number_text(number);
        if (!file_exists(folder, candidate, extension))
            return candidate;
    }
    return {};
}

std::u16string unique_file_path(
    std::u16string_view folder, std::u16string_view base, std::u16string_view extension)
{
    const std::u16string name = unique_file_name(folder, base, extension);
    if (name.empty())
        return {};
    // Appended rather than swapped in: a base such as "v1.2" must not lose
    // the part after its dot and name a file that exists.
    return with_extension(folder, name, extension);
}

std::u16string recording_file_name(
    std::u16string_view folder, std::u16string_view prefix, std::u16string_view extension)
{
    const liba::DateTime now = liba::DateTime::now();
    std::u16string name;
    if (!prefix.empty()) {
        name += prefix;
        name += u' ';
    }
    name += two_digit_text(now.day()) + u" " + std::u16string(month_abbreviation(now.month())) + u" "
        + two_digit_text(now.year()) + u" " + two_digit_text(now.hour()) + u"-" + two_digit_text(now.minute())
        + u"-" + two_digit_text(now.second());

    if (!file_exists(folder, name, extension))
        return with_extension(folder, name, extension);
    for (int number = 2; number <= max_name_number; ++number) {
        std::u16string candidate = name + u" (" + liba::number_text(number) + u")";
        if (!file_exists(folder, candidate, extension))
            return with_extension(folder, candidate, extension);
    }
    return {};
}

std::u16string format_date_time(const liba::DateTime& time)
{
    return two_digit_text(time.hour()) + u":" + two_digit_text(time.minute()) + u",  "
        + two_digit_text(time.month()) + u"/" + two_digit_text(time.day()) + u"/"
        + two_digit_text(time.year());
}

std::u16string format_duration(double seconds)
{
    // Out-of-range and NaN inputs would make the conversion undefined.
    int total = 0;
    if (seconds >= std::numeric_limits<int>::max())
        total = std::numeric_limits<int>::max();
    else if (seconds <= std::numeric_limits<int>::min())
        total = std::numeric_limits<int>::min();
    else if (!std::isnan(seconds))
        total = static_cast<int>(seconds);
    const int hours = total / 3600;
    const int minutes = (total - 3600 * hours) / 60;
    const int rest = total - 60 * (total / 60);
    return two_digit_text(hours) + u":" + two_digit_text(minutes) + u":" + two_digit_text(rest);
}

std::vector<FileType> make_open_file_filters()
{
    std::vector<FileType> types;
    FileType sounds(u"Sound Files(*.mp3,*.wav,*.ogg,*.wma)");
    sounds.extensions = { u"mp3", u"wav", u"ogg", u"wma" };
    types.push_back(std::move(sounds));
    types.emplace_back(u"Mp3 files (*.mp3)", u"mp3");
    types.emplace_back(u"Wav files (*.wav)", u"wav");
    types.emplace_back(u"Ogg files (*.ogg)", u"ogg");
    types.emplace_back(u"Wma files (*.wma)", u"wma");
    return types;
}
