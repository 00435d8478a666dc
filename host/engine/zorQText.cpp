#include "zorQText.h"

#include "zorQObj.h"

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

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool zorQ_NamesEqual(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) return a == b;
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b)) return false;
    }
    return *a == *b;
}
