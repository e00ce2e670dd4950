#pragma once

#include "audio/chains/PlayChainMP3.h"
#include "audio/chains/PlayChainReaderDecoder.h"
#include "audio/chains/PlayChainReaderOnly.h"
#include "audio/chains/PlayChainWMA.h"
#include "audio/codecs/DecoderADPCM.h"
#include "audio/codecs/DecoderGSM.h"
#include "audio/codecs/DecoderMPC.h"
#include "audio/codecs/DecoderVorbis.h"
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"

#include <memory>
#include <string>
#include <type_traits>

namespace audio {

// A chain of the given kind on a reader made from the path and args, when
// that reader opens the file; a refused chain is deleted, which closes it.
template<typename Chain, typename Reader, typename... Args>
std::unique_ptr<PlayChain> try_play_chain(
    const char16_t* name, const std::u16string& path, const Args&... args)
{
    auto chain = std::make_unique<Chain>(name, std::make_unique<Reader>(path, args...), path);
    if (!chain->get_reader() || !chain->get_reader()->is_open())
        return nullptr;
    return chain;
}

// The reader of a whole file is the format's own.
template<typename R>
using WholeFile = R;

// Which formats a factory tries.
enum class PlayFormats {
    engine, // the engine's own readers
    all, // and then WMA
};

// Every format a play-chain factory tries on a file, in the order tried: the
// readers alone recognise a format, never the file's extension. Each chain
// reads through Source<R>, R being the format's reader: R itself for a whole
// file, or a reader of some parts of it made with the extra arguments.
// Musepack and WMA files are only ever read whole.
template<template<typename> class Source, typename... Args>
class PlayChainCandidates {
public:
    // The first chain whose reader opens the file; null when none does.
    static std::unique_ptr<PlayChain> open(
        PlayFormats formats, const std::u16string& path, const Args&... args)
    {
        for (const Candidate& candidate : list) {
            if (!candidate.open || (formats == PlayFormats::engine && !candidate.engine))
                continue;
            if (auto chain = candidate.open(candidate.name, path, args...))
                return chain;
        }
        return nullptr;
    }

private:
    using Open = std::unique_ptr<PlayChain> (*)(const char16_t*, const std::u16string&, const Args&...);

    struct Candidate {
        const char16_t* name;
        Open open; // null where this reading does not exist for the format
        bool engine;
    };

    static constexpr bool whole = std::is_same_v<Source<FileReaderWAVPCM>, FileReaderWAVPCM>;

    template<typename Chain, typename R>
    static constexpr Open on()
    {
        return &try_play_chain<Chain, Source<R>, Args...>;
    }

    template<typename Chain, typename R>
    static constexpr Open on_whole_file()
    {
        if constexpr (whole)
            return on<Chain, R>();
        else
            return nullptr;
    }

    static constexpr Candidate list[] = {
        { u"PCM", on<PlayChainReaderOnly<FileReaderWAVPCM>, FileReaderWAVPCM>(), true },
        { u"ADPCM", on<PlayChainReaderDecoder<FileReaderWAVADPCM, DecoderADPCM>, FileReaderWAVADPCM>(),
            true },
        { u"GSM", on<PlayChainReaderDecoder<FileReaderWAVGSM, DecoderGSM>, FileReaderWAVGSM>(), true },
        { u"Vorbis", on<PlayChainReaderOnly<DecoderVorbis>, DecoderVorbis>(), true },
        { u"MPC", on_whole_file<PlayChainReaderOnly<DecoderMPC>, DecoderMPC>(), true },
        { u"mp3", on<PlayChainMP3, FileReaderMP3>(), true },
        { u"WMA", on_whole_file<PlayChainWMA, FileReaderWMA>(), false },
    };
};

}
