// Loads the input as a language file, twice, and looks keys up.
#include "FuzzFile.h"
#include "liba/StringTranslator.h"
#include "os/LanguageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile fuzz(data, size);
    liba::StringTranslator translator = os::read_language_file(fuzz.path());
    os::load_language_file(translator, fuzz.path());
    translator.translate(u"Open", u"Open");
    translator.translate(u"", u"");
    return 0;
}
