// Directory search by name pattern, as the file lists and the path completion use it.
//
// A pattern holds "*" (any run of characters) and "?" (exactly one character); letters
// match without regard to case, and "*.*" matches every name, with or without a dot.
// Characters are UTF-8 sequences; a byte that is not valid UTF-8 counts as one character.
// A name that itself holds "*" or "?" is an ordinary name and is matched like any other.
//
// Never throws; a folder that is missing or cannot be read yields no entries. Safe to call
// from any thread.
#pragma once

#include "platform/FileAttributes.h"

#include <string>
#include <string_view>
#include <vector>

namespace selvane::platform {

struct FoundEntry {
    std::string name;  // the bare name, without its folder
    FileAttributes attributes;
};

// True when name matches pattern under the rules above.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// The entries whose names match the part of pathPattern after its last "/", in the folder
// named by the part before it (the current folder when there is no "/"), in the order in
// which the directory lists them, "." and ".." included. An empty pattern part finds
// nothing.
std::vector<FoundEntry> FindEntries(const std::string& pathPattern);

}  // namespace selvane::platform
