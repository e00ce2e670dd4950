// Loads the input as a language file, twice, and looks keys up.
#include "FuzzFile.h"
#include "liba/StringTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile fuzz(data, size);
    liba::StringTranslator translator(fuzz.path());
    translator.load(fuzz.path());
    translator.translate(u"Open", u"Open");
    translator.translate(u"", u"");
    return 0;
}
