#pragma once

// The game's three compressed formats as stream-to-stream operations.
#include "compression/ByteOrder.h"
#include "compression/Errors.h"
#include "compression/Lzh.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"
#include "compression/Stream.h"
