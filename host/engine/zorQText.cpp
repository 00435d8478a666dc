#include "zorQText.h"

#include <algorithm>
#include <cstring>

namespace zorq {

bool CopyText(char* target, std::size_t size, const char* source) {
    const char* text = source != nullptr ? source : "";
    const std::size_t length = std::strlen(text);
    if (length >= size) return false;
    std::memcpy(target, text, length + 1);
    return true;
}

void CopyTextTruncated(char* target, std::size_t size, const char* source) {
    if (size == 0) return;
    const char* text = source != nullptr ? source : "";
    const std::size_t length = std::min(std::strlen(text), size - 1);
    std::memcpy(target, text, length);
    target[length] = '\0';
}

}  // namespace zorq
