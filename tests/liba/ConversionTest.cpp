#include "liba/Conversion.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>

using namespace liba;

namespace {

constexpr int untouched = 777;

}

TEST(ParseInt, Cases)
{
    struct {
        std::u16string text;
        bool ok;
        int value;
        std::ptrdiff_t consumed;
    } cases[] = {
        // clang-format off
        { u"  -42", true, -42, 5 },
        { u"+7x", true, 7, 2 },
        { u"\t12 34", true, 12, 3 },
        { u"0042", true, 42, 4 },
        { u"4294967297", true, 1, 10 },     // wraps beyond 32 bits
        { u"-2147483648", true, INT_MIN, 11 },
        { u"\u00A05", true, 5, 2 },         // no-break space is white space
        { u"", false, untouched, 0 },       // empty: unchanged
        { u"   ", false, untouched, 0 },    // blank: unchanged
        { u"-", false, untouched, 0 },      // ends after the sign: unchanged
        { u" +", false, untouched, 0 },
        { u"x1", false, 0, 0 },             // not a number: 0
        { u"-x", false, 0, 0 },
        { u"\u0663", false, 0, 0 },         // an Arabic-Indic digit is no digit here
        // clang-format on
    };

    for (const auto& c : cases) {
        int value = untouched;
        const char16_t* begin = c.text.data();
        const char16_t* end = parse_int(begin, begin + c.text.size(), value);
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(end != nullptr, c.ok);
        if (end) {
            EXPECT_EQ(end - begin, c.consumed);
        }
    }
}

TEST(ParseDouble, Cases)
{
    struct Case {
        std::u16string text;
        bool ok;
        double value;
        std::ptrdiff_t consumed;
    } cases[] = {
        { u"1.5e2", true, 150, 5 },
        { u".25", true, 0.25, 3 },
        { u"3.", true, 3, 2 },
        { u" -0.5x", true, -0.5, 5 },
        { u"2E-1", true, 0.2, 4 },
        { u"2e", false, untouched, 0 }, // a bad exponent fails the whole number
        { u"2ex", false, untouched, 0 },
        { u"", false, untouched, 0 },
        { u"  ", false, untouched, 0 },
        { u".", false, 0, 0 },
        { u"-", false, 0, 0 },
        { u"abc", false, 0, 0 },
    };

    for (const auto& c : cases) {
        double value = untouched;
        const char16_t* begin = c.text.data();
        const char16_t* end = parse_double(begin, begin + c.text.size(), value);
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_DOUBLE_EQ(value, c.value);
        EXPECT_EQ(end != nullptr, c.ok);
        if (end) {
            EXPECT_EQ(end - begin, c.consumed);
        }
    }
}

TEST(TextToInt, WholeString)
{
    int value = 5;
    EXPECT_TRUE(text_to_int(u" 12", value));
    EXPECT_EQ(value, 12);
    EXPECT_FALSE(text_to_int(u"", value));
    EXPECT_EQ(value, 12);
}

TEST(ReadLine, BreaksOfEveryKind)
{
    const std::u16string text = u"a\r\n\r\nb\n\rc\rd\n\ne";
    const char16_t* p = text.data();
    const char16_t* end = p + text.size();
    std::vector<std::u16string> lines;
    std::u16string line;
    while (p != end) {
        p = read_line(line, p, end);
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::u16string> { u"a", u"", u"b", u"c", u"d", u"", u"e" }));
}

TEST(ReadWord, StopsBeforeWhiteSpace)
{
    const std::u16string text = u"word  next";
    std::u16string word = u"old";
    const char16_t* p = read_word(word, text.data(), text.data() + text.size());
    EXPECT_EQ(word, u"word");
    EXPECT_EQ(*p, u' ');
    p = read_word(word, skip_spaces(p, text.data() + text.size()), text.data() + text.size());
    EXPECT_EQ(word, u"next");
    EXPECT_EQ(p, text.data() + text.size());
}

TEST(Format, NumbersIgnoreTheLocale)
{
    std::string s;
    EXPECT_TRUE(format_int(-12, s));
    EXPECT_EQ(s, "-12");
    format_long(9000000000L, s);
    EXPECT_EQ(s, "9000000000");

    struct {
        double value;
        const char* text;
    } doubles[] = { { 0.5, "0.500000" }, { -1.25, "-1.250000" }, { 1e20, "100000000000000000000.000000" },
        { 1234.5678, "1234.567800" }, { 0.0, "0.000000" } };

    for (const auto& d : doubles) {
        format_double(d.value, s);
        EXPECT_EQ(s, d.text);
    }
    std::u16string w;
    format_double(1.5, w);
    EXPECT_EQ(w, u"1.500000");
}

TEST(AnsiText, Windows1252BothWays)
{
    const std::string bytes = "A\x80\x9F\xE9\x81\xFF";
    std::u16string wide = u"stale";
    EXPECT_TRUE(ansi_to_wide(bytes.data(), bytes.size(), wide));
    EXPECT_EQ(wide, u"A\u20AC\u0178\u00E9\u0081\u00FF");
    std::string back;
    EXPECT_TRUE(wide_string_to_narrow(wide, back));
    EXPECT_EQ(back, bytes);
}

TEST(AnsiText, SizedByTheCharactersProduced)
{
    std::u16string wide;
    EXPECT_TRUE(ansi_to_wide("abc", 3, wide));
    EXPECT_EQ(wide.size(), 3u);
    std::string narrow = "x";
    EXPECT_TRUE(wide_to_ansi(u"", 0, narrow));
    EXPECT_EQ(narrow, "");
    EXPECT_TRUE(ansi_to_wide("", 0, wide));
    EXPECT_EQ(wide, u"");
}

TEST(AnsiText, UnmappableAndComposed)
{
    struct {
        std::u16string in;
        std::string out;
    } cases[] = {
        { u"\u0416", "?" }, // Cyrillic
        { u"\U0001F3B5x", "?x" }, // one character outside the plane, one '?'
        { u"e\u0301", "\xE9" }, // composed before mapping
        { u"S\u030C", "\x8A" },
        { u"q\u0301", "q?" }, // no composed form in the code page
        { std::u16string(1, u'\0'), std::string(1, '\0') },
    };

    for (const auto& c : cases)
        EXPECT_EQ(to_narrow(c.in), c.out);
}

TEST(StringBuilding, Chains)
{
    std::string s;
    s << 12 << " " << u"\u00E9\u0416";
    EXPECT_EQ(s, "12 \xE9?");
    std::string size;
    append_int_pair(size, 320, 240);
    EXPECT_EQ(size, "320 240");
    std::u16string w;
    w << -3 << std::u16string(u"x");
    EXPECT_EQ(w, u"-3x");
    append_chars(s, 2, '-');
    EXPECT_EQ(s.substr(s.size() - 2), "--");
}
