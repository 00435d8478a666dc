// Text helpers of the engine: bounded copies into fixed character fields.
#pragma once

#include <cstddef>

namespace zorq {

// Copies `source` into `target` (capacity `size`, terminator included);
// a null source gives an empty text. Returns false, leaving `target`
// unchanged, when the text does not fit.
bool CopyText(char* target, std::size_t size, const char* source);

// Copies as much of `source` as fits, always terminating.
void CopyTextTruncated(char* target, std::size_t size, const char* source);

}  // namespace zorq
