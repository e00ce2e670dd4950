#include "bench/support/Sox.h"

#include <cstdlib>
#include <mutex>
#include <sox.h>

namespace bench::sox {

namespace {

void start()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (sox_init() != SOX_SUCCESS)
            std::abort();
        sox_get_globals()->verbosity = 1;
    });
}

void add(sox_effects_chain_t* chain, const char* name, std::vector<char*> args, sox_signalinfo_t* signal,
    const sox_signalinfo_t* out)
{
    sox_effect_t* effect = sox_create_effect(sox_find_effect(name));
    if (!effect || sox_effect_options(effect, int(args.size()), args.data()) != SOX_SUCCESS
        || sox_add_effect(chain, effect, signal, out) != SOX_SUCCESS)
        std::abort();
    free(effect);
}

// Input through the effects into the output, as the sox program chains them.
void flow(sox_format_t* in, sox_format_t* out, const std::vector<Effect>& effects)
{
    sox_effects_chain_t* chain = sox_create_effects_chain(&in->encoding, &out->encoding);
    sox_signalinfo_t signal = in->signal;
    add(chain, "input", { reinterpret_cast<char*>(in) }, &signal, &in->signal);
    for (const Effect& effect : effects) {
        std::vector<char*> args;
        for (std::size_t i = 1; i < effect.size(); ++i)
            args.push_back(const_cast<char*>(effect[i].c_str()));
        add(chain, effect[0].c_str(), args, &signal, &signal);
    }
    if (signal.rate != out->signal.rate)
        add(chain, "rate", {}, &signal, &out->signal);
    add(chain, "output", { reinterpret_cast<char*>(out) }, &signal, &out->signal);
    sox_flow_effects(chain, nullptr, nullptr);
    sox_delete_effects_chain(chain);
}

sox_format_t* open(const std::string& path)
{
    start();
    sox_format_t* in = sox_open_read(path.c_str(), nullptr, nullptr, nullptr);
    if (!in)
        std::abort();
    return in;
}

}

void run_effects(const std::string& path, const std::vector<Effect>& effects)
{
    sox_format_t* in = open(path);
    sox_format_t* out = sox_open_write("", &in->signal, &in->encoding, "null", nullptr, nullptr);
    if (!out)
        std::abort();
    flow(in, out, effects);
    sox_close(out);
    sox_close(in);
}

std::size_t read_to_end(const std::string& path)
{
    sox_format_t* in = open(path);
    static thread_local std::vector<sox_sample_t> buffer(65536);
    std::size_t total = 0;
    for (std::size_t got; (got = sox_read(in, buffer.data(), buffer.size())) > 0;)
        total += got;
    sox_close(in);
    return total;
}

void convert(const std::string& path, const std::string& target, const std::string& encoding)
{
    sox_format_t* in = open(path);
    sox_encodinginfo_t coding = in->encoding;
    coding.encoding = encoding == "gsm" ? SOX_ENCODING_GSM : SOX_ENCODING_MS_ADPCM;
    coding.bits_per_sample = encoding == "gsm" ? 0 : 4;
    sox_format_t* out = sox_open_write(target.c_str(), &in->signal, &coding, "wav", nullptr, nullptr);
    if (!out)
        std::abort();
    flow(in, out, {});
    sox_close(out);
    sox_close(in);
}

}
