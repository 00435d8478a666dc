// How the host compares names: class names and kinds, parameter names, event
// texts and the words of a host script. The one rule: the ASCII letters A to
// Z equal their lower-case forms; every other byte stands for itself.
#pragma once

#include "zorQDefs.h"

// The byte a character of a name compares as.
ZOR_HOST_API char zorQ_FoldNameChar(char c);
// True when the texts are equal under the rule; null equals only null.
ZOR_HOST_API bool zorQ_NamesEqual(const char* a, const char* b);
// Orders texts under the rule: negative, zero or positive, as strcmp does.
ZOR_HOST_API int zorQ_NamesCompare(const char* a, const char* b);
