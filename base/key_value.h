// Lists and key/value text: the text tree of patch documents, settings values and GUI
// descriptions.
//
// A list is items separated by ',' or ';', optionally inside braces. Line comments ("//") and
// block comments ("/* */", which nest) count as blanks. Every item is kept raw: a brace block
// whole with its braces, a quoted string with its quotes, otherwise the run up to ',', ';', '}',
// a line end or a comment, without trailing blanks. Key/value text is entries of a key, ':' or
// '=', and a value read as a list item is; keys are unquoted, and of two equal keys the first is
// kept. The separator after an entry or item may be left out where a line end, a closing quote or
// a closing brace already ends it.
// Malformed text throws FormatException naming what is missing.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace Velto {
// The unit in which views, resources and attributes are configured: key to raw value text. An
// absent key read with operator[] reads as empty text.
using Description = std::map<std::string, std::string>;
} // namespace Velto

namespace Wex {

std::vector<std::string> ParseList(std::string_view text);
// Appends the items of the list text.
void ParseListInto(std::string_view text, std::vector<std::string>& items);

Velto::Description ParseKeyValueMap(std::string_view text);
// Adds the entries of the text to the map; keys already in the map keep their value.
void ParseKeyValueText(std::string_view text, std::map<std::string, std::string>& entries);

// True when the text begins with '{'.
bool IsBlockText(std::string_view text);

// The value of the key; an absent key reads as empty text and is not added.
std::string_view ValueOf(const Velto::Description& description, const std::string& key);

// Key/value text of the entries, one per line. Keys and values are plain texts, quoted (`Quote`)
// when they contain a blank (space, tab, line end, vertical tab, form feed), ',', ';', '=', ':',
// '{', '}' or '/', and when they are empty or begin with a quote, so that they read back
// unchanged; a value that is one brace block is written as it is, as a nested block.
std::string WriteKeyValueText(const std::map<std::string, std::string>& entries);

} // namespace Wex
