#include "tests/skins/SkinSources.h"

#include "liba/StringTranslator.h"
#include "os/LanguageFile.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string_view>

namespace {

constexpr std::u16string_view absent = u"\x1F<absent>";

std::string english_path()
{
    return test::program_folder() + "/English.lng";
}

// The translation keys that a source text names: the literal that opens a
// translate call, and every literal marked with the "_key" suffix.
std::set<std::string> keys_in_source(std::string_view text)
{
    std::set<std::string> keys;
    const std::string_view call = "translate(";
    for (std::size_t at = text.find(call); at != std::string_view::npos; at = text.find(call, at + 1)) {
        std::size_t p = at + call.size();
        while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])))
            ++p;
        if (text.substr(p, 2) != "u\"")
            continue;
        const std::size_t close = text.find('"', p + 2);
        if (close != std::string_view::npos)
            keys.insert(std::string(text.substr(p + 2, close - p - 2)));
    }
    const std::string_view mark = "\"_key";
    for (std::size_t close = text.find(mark); close != std::string_view::npos; close = text.find(mark, close + 1)) {
        const std::size_t open = text.rfind('"', close - 1);
        if (open != std::string_view::npos && open > 0 && text[open - 1] == 'u')
            keys.insert(std::string(text.substr(open + 1, close - open - 1)));
    }
    return keys;
}

// The keys that the program's code names, by key, with the first file that
// names each. Tests, benchmarks, fuzz targets and tools are not the program.
std::map<std::string, std::string> program_keys()
{
    namespace fs = std::filesystem;
    const std::set<std::string> not_program = { "tests", "bench", "fuzz", "tools", "skins", "build", "cmake", "scripts" };
    std::map<std::string, std::string> keys;
    for (const auto& top : fs::directory_iterator(ORVANTA_SOURCE_DIR)) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || name.starts_with(".") || not_program.contains(name))
            continue;
        for (const auto& file : fs::recursive_directory_iterator(top.path())) {
            const std::string extension = file.path().extension().string();
            if (!file.is_regular_file() || (extension != ".cpp" && extension != ".h"))
                continue;
            for (const auto& key : keys_in_source(test::read_file(file.path().string())))
                keys.emplace(key, fs::relative(file.path(), ORVANTA_SOURCE_DIR).string());
        }
    }
    return keys;
}

// The translation keys that the default skins' texts name.
std::set<std::string> skin_keys()
{
    std::set<std::string> keys;
    for (const auto& entry : test::default_skins()) {
        auto collect = [&](const skinc::Record& record) {
            for (const auto& property : record.properties) {
                if (property.table == skinner::skin_format::Table::strings
                    && (property.name == u"Text" || property.name == u"CheckedText"))
                    keys.insert(platform::to_utf8(property.text));
            }
        };
        for (const auto& form : entry.skin.forms)
            for (const auto& control : form.controls)
                collect(control);
        for (const auto& kind : entry.skin.kinds)
            collect(kind);
    }
    return keys;
}

TEST(EnglishLanguage, KeysAreFoundInTranslateCallsAndMarkedLiterals)
{
    struct Case {
        const char* name;
        std::string_view source;
        std::set<std::string> keys;
    };
    const Case cases[] = {
        { "call with a fallback", R"(m_title = translate(u"MyDevice", u"My Device");)", { "MyDevice" } },
        { "call through an object, split over lines", "properties.translate(\n    u\"Help_link\")", { "Help_link" } },
        { "table of marked literals", R"({ u"TurnOffTimeNever"_key, 0 }, { u"TurnOffTime2sec"_key, 2 })",
            { "TurnOffTimeNever", "TurnOffTime2sec" } },
        { "key made at run time", R"(translate(key + u"_caption"))", {} },
        { "plain literals and other calls", R"(TranslateMessage(&msg); name = u"Bookmark"; u8"x"_key;)", {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(keys_in_source(c.source), c.keys) << c.name;
}

TEST(EnglishLanguage, HasEveryKeyOfTheProgramAndTheDefaultSkins)
{
    liba::StringTranslator english;
    ASSERT_TRUE(os::load_language_file(english, platform::from_utf8(english_path())));
    for (const auto& [key, file] : program_keys())
        EXPECT_NE(english.translate(platform::from_utf8(key), absent), absent) << "key " << key << " of " << file;
    const std::set<std::string> skins = skin_keys();
    ASSERT_FALSE(skins.empty());
    for (const auto& key : skins)
        EXPECT_NE(english.translate(platform::from_utf8(key), absent), absent) << "skin key " << key;
}

// A key alone on its line takes the next line as its text, and a key given
// twice keeps only its last text: either would lose a text without a word.
TEST(EnglishLanguage, EveryLineIsOneKeyWithItsText)
{
    std::istringstream lines(test::read_file(english_path()));
    std::set<std::string> keys;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.empty() || line.starts_with("//"))
            continue;
        const std::size_t end = line.find_first_of(" \t=");
        ASSERT_NE(end, std::string::npos) << "line " << number << " has a key and no text: " << line;
        EXPECT_NE(end, 0u) << "line " << number << " has no key: " << line;
        EXPECT_TRUE(keys.insert(line.substr(0, end)).second) << "line " << number << " repeats the key " << line.substr(0, end);
        for (unsigned char c : line)
            EXPECT_LT(c, 0x80) << "line " << number << " is not ASCII, which the file's 8-bit code page would misread";
    }
}

}

namespace {

// The help command opens the program folder's file that "Help_link" names.
TEST(EnglishLanguage, HelpLinkNamesAPageOfTheProgramFolder)
{
    liba::StringTranslator english;
    ASSERT_TRUE(os::load_language_file(english, platform::from_utf8(english_path())));
    const std::string page = platform::to_utf8(english.translate(u"Help_link", u""));
    ASSERT_FALSE(page.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(test::program_folder() + "/" + page)) << page;
}

}
