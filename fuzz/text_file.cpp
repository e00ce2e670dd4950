// Reads the input as a text file, then splits it into lines, words and numbers.
#include "FuzzFile.h"
#include "liba/Conversion.h"
#include "liba/TextFile.h"
#include "os/File.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile fuzz(data, size);
    os::File file(fuzz.path(), os::File::Mode::read);
    std::u16string text = liba::read_text_file(file);
    const char16_t* p = text.data();
    const char16_t* end = p + text.size();
    std::u16string line, word;
    while (p != end) {
        p = liba::read_line(line, p, end);
        const char16_t* q = line.data();
        const char16_t* line_end = q + line.size();
        while ((q = liba::skip_spaces(q, line_end)) != line_end) {
            int number = 0;
            double real = 0;
            liba::parse_int(q, line_end, number);
            liba::parse_double(q, line_end, real);
            q = liba::read_word(word, q, line_end);
        }
    }
    std::string narrow;
    liba::wide_string_to_narrow(text, narrow);
    return 0;
}
