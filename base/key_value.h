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
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Wex {

// A part of a text, which it shares with its copies and with the parts taken of it: the values of
// a description, and those of the descriptions nested in them, hold the text once.
class cTextPart : public std::string_view {
public:
    cTextPart() = default;
    // All of a copy of the text.
    cTextPart(std::string text);
    cTextPart(std::string_view text) : cTextPart(std::string(text)) {}
    cTextPart(const char* text) : cTextPart(std::string(text)) {}

    // The part that `part`, a view into this part, shows.
    cTextPart Part(std::string_view part) const { return cTextPart(fText, part); }

private:
    cTextPart(std::shared_ptr<const std::string> text, std::string_view part) :
        std::string_view(part), fText(std::move(text))
    {
    }

    std::shared_ptr<const std::string> fText;
};

} // namespace Wex

namespace Velto {
// The unit in which views, resources and attributes are configured: key to raw value text. An
// absent key read with operator[] reads as empty text.
using Description = std::map<std::string, Wex::cTextPart>;
} // namespace Velto

namespace Wex {

std::vector<std::string> ParseList(std::string_view text);
// Appends the items of the list text.
void ParseListInto(std::string_view text, std::vector<std::string>& items);
// The items as parts of the text.
std::vector<cTextPart> ParseListParts(const cTextPart& text);

// The values are parts of the text: of a copy of it unless it is a part already.
Velto::Description ParseKeyValueMap(const cTextPart& text);
// Adds the entries of the text to the map; keys already in the map keep their value.
void ParseKeyValueText(std::string_view text, std::map<std::string, std::string>& entries);

// True when the text begins with '{'.
bool IsBlockText(std::string_view text);

// The value of the key; an absent key reads as empty text and is not added.
std::string_view ValueOf(const Velto::Description& description, const std::string& key);
// The same as a part of the description's text.
cTextPart PartOf(const Velto::Description& description, const std::string& key);

// Key/value text of the entries, one per line. Keys and values are plain texts, quoted (`Quote`)
// when they contain a blank (space, tab, line end, vertical tab, form feed), ',', ';', '=', ':',
// '{', '}' or '/', and when they are empty or begin with a quote, so that they read back
// unchanged; a value that is one brace block is written as it is, as a nested block.
std::string WriteKeyValueText(const std::map<std::string, std::string>& entries);

} // namespace Wex
