#pragma once

#include "audio/chains/PlayChain.h"

#include <memory>
#include <string>

class RangeMarkList;

// The play chain of a file. Without bookmarks the whole file plays, through
// the engine's readers and then as WMA. With them only the played segments
// are read, in play order; Musepack and WMA files have no such reading and
// give null, as does a file nothing opens.
std::unique_ptr<audio::PlayChain> open_play_chain(const std::u16string& path, const RangeMarkList* bookmarks);
