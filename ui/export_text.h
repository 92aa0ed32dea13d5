// The text that the copy and export commands hand on: the list's row text without the blue tag,
// so taken names read "NA" while free and failed ones keep their red tag.
#pragma once

#include <string>
#include <string_view>

extern const char BLUE_TAG[];  // "<#0000FF>"

// Every occurrence of "<#0000FF>" (exact case) removed in one left-to-right pass; a tag joined by
// a removal stays. Nothing else changes.
std::string RemoveBlueTags(std::string_view text);
