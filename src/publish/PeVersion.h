// Whether a program file carries a version resource, read from its bytes so that the publisher tools need
// no VERSION.DLL (the native build has none).
#pragma once
#include "publish/Szdd.h"

namespace quenby {

// True for a PE image (32- or 64-bit) whose resources hold a version (RT_VERSION); false for anything else,
// a damaged image included.
bool HasVersionResource(const TBytes& image);

}  // namespace quenby
