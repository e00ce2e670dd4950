#pragma once

#include "liba/DateTime.h"
#include "model/FileType.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The application's file vocabulary: which files are sounds, how recordings
// and their bookmark files are named, and how sizes, durations and times read.

inline constexpr std::array<std::u16string_view, 4> sound_extensions { u"wav", u"mp3", u"ogg", u"wma" };
inline constexpr std::u16string_view playlist_extension = u"m3u";

// The extension in lower case; empty when there is none.
std::u16string get_lower_extension(std::u16string_view path);
bool is_supported_sound_file(std::u16string_view path);
// The whole path followed by ".bm": memo.wav keeps its bookmarks in memo.wav.bm.
std::u16string bookmark_file_name(std::u16string_view path);

// The decimal text padded to two characters, or its last two: 7 gives 07, 2007 gives 07.
std::u16string two_digit_text(int value);
// Every occurrence of what, scanning on after each replacement, so a
// replacement that contains what is not replaced again. An empty what
// changes nothing.
std::u16string replace_all(std::u16string_view text, std::u16string_view what, std::u16string_view with);
// "", "512B", "1023K", "1,5M": megabytes keep one truncated decimal, after a comma.
std::u16string file_size_to_text(std::int64_t size);

// base1, base2, ... : the first name up to base9999 for which no file
// "<name>.<extension>" exists in the folder; empty when all are taken.
std::u16string unique_file_name(
    std::u16string_view folder, std::u16string_view base, std::u16string_view extension);
// The full path of that name with its extension; empty when all are taken,
// so that nothing existing is recorded over.
std::u16string unique_file_path(
    std::u16string_view folder, std::u16string_view base, std::u16string_view extension);
// "<folder>/<prefix> 05 mar 07 14-30-05.<extension>" from the present local
// time. A name already in use gets " (2)", " (3)", ... before the extension,
// so a second recording within the same second keeps the first; empty when
// every such name is taken.
std::u16string recording_file_name(
    std::u16string_view folder, std::u16string_view prefix, std::u16string_view extension);

// "14:30,  03/05/07": time, then month/day/year.
std::u16string format_date_time(const liba::DateTime& time);
// "01:02:05" from whole seconds; hours beyond 99 show their last two digits.
std::u16string format_duration(double seconds);

// The type list of the open-file dialog: all sounds first, then each type.
std::vector<FileType> make_open_file_filters();
