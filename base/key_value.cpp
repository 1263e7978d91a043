#include "base/key_value.h"

#include "base/exceptions.h"
#include "base/text.h"

namespace Wex {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// Reads one list or key/value text; `fPos` moves through `fText`.
class Reader {
public:
    explicit Reader(std::string_view text) : fText(text) {}

    // Narrows the text to the inside of its braces when one brace block is all there is.
    void EnterEnclosingBraces()
    {
        SkipBlanks();
        if (AtEnd() || Peek() != '{') {
            return;
        }
        const size_t open = fPos;
        const size_t close = SkipBlock(open) - 1;
        fPos = close + 1;
        SkipBlanks();
        if (AtEnd()) {
            fText = fText.substr(0, close);
            fPos = open + 1;
        } else {
            fPos = open;
        }
    }

    // Skips blanks, line comments and (nested) block comments.
    void SkipBlanks()
    {
        while (!AtEnd()) {
            if (IsBlank(Peek())) {
                ++fPos;
            } else if (StartsComment(fPos)) {
                fPos = SkipComment(fPos);
            } else {
                return;
            }
        }
    }

    bool AtEnd() const { return fPos >= fText.size(); }
    char Peek() const { return fText[fPos]; }
    void Advance() { ++fPos; }
    size_t Position() const { return fPos; }

    // A raw list item or value; the reader stands on its first character.
    std::string_view ReadItem()
    {
        const size_t start = fPos;
        if (Peek() == '{') {
            fPos = SkipBlock(start);
        } else if (IsQuote(Peek())) {
            fPos = SkipQuoted(start);
        } else if (Peek() == '}') {
            Fail("Unexpected text: ");
        } else {
            fPos = RunEnd(start, false);
            return Trimmed(start);
        }
        return fText.substr(start, fPos - start);
    }

    // A key, unquoted; the reader stands on its first character.
    std::string ReadKey()
    {
        const size_t start = fPos;
        if (IsQuote(Peek())) {
            fPos = SkipQuoted(start);
            return Unquote(fText.substr(start, fPos - start));
        }
        fPos = RunEnd(start, true);
        const std::string_view key = Trimmed(start);
        if (key.empty()) {
            Fail("Missing key: ");
        }
        return std::string(key);
    }

    // Throws FormatException with the message and the text from the current position to its line end.
    [[noreturn]] void Fail(const std::string& message) const
    {
        constexpr size_t kMaxExcerpt = 64;
        size_t end = fPos;
        while (end < fText.size() && !IsLineEnd(fText[end]) && end - fPos < kMaxExcerpt) {
            ++end;
        }
        throw FormatException(message + std::string(fText.substr(fPos, end - fPos)));
    }

    // The position after the block that opens at `pos`. Inside, comments are skipped, quotes open
    // strings where a key, value or item begins, and nested braces are counted.
    size_t SkipBlock(size_t pos) const
    {
        size_t depth = 0;
        bool itemStart = true;
        while (pos < fText.size()) {
            const char c = fText[pos];
            if (IsBlank(c)) {
                ++pos;
            } else if (StartsComment(pos)) {
                pos = SkipComment(pos);
            } else if (c == '{') {
                ++depth;
                ++pos;
                itemStart = true;
            } else if (c == '}') {
                ++pos;
                if (--depth == 0) {
                    return pos;
                }
                itemStart = false;
            } else if (c == ',' || c == ';' || c == ':' || c == '=') {
                ++pos;
                itemStart = true;
            } else if (itemStart && IsQuote(c)) {
                pos = SkipQuoted(pos);
                itemStart = false;
            } else {
                pos = RunEnd(pos, true);
                itemStart = false;
            }
        }
        throw FormatException("Missing }");
    }

private:
    bool StartsComment(size_t pos) const
    {
        return fText[pos] == '/' && pos + 1 < fText.size() && (fText[pos + 1] == '/' || fText[pos + 1] == '*');
    }

    // The position after the comment at `pos`: a line comment ends before its line end.
    size_t SkipComment(size_t pos) const
    {
        if (fText[pos + 1] == '/') {
            while (pos < fText.size() && !IsLineEnd(fText[pos])) {
                ++pos;
            }
            return pos;
        }
        size_t depth = 0;
        while (pos + 1 < fText.size()) {
            if (fText[pos] == '/' && fText[pos + 1] == '*') {
                ++depth;
                pos += 2;
            } else if (fText[pos] == '*' && fText[pos + 1] == '/') {
                pos += 2;
                if (--depth == 0) {
                    return pos;
                }
            } else {
                ++pos;
            }
        }
        throw FormatException("Missing */");
    }

    // The position after the quoted string at `pos`; a backslash escapes the next character.
    size_t SkipQuoted(size_t pos) const
    {
        const char quote = fText[pos++];
        while (pos < fText.size()) {
            if (fText[pos] == '\\') {
                pos += 2;
            } else if (fText[pos++] == quote) {
                return pos;
            }
        }
        throw FormatException(std::string("Missing ") + quote);
    }

    // The end of an unquoted run: a separator, '}', a line end or a comment; a key (or a part of
    // a block) also ends at ':', '=' and '{'.
    size_t RunEnd(size_t pos, bool key) const
    {
        for (; pos < fText.size(); ++pos) {
            const char c = fText[pos];
            if (c == ',' || c == ';' || c == '}' || IsLineEnd(c) || StartsComment(pos) ||
                (key && (c == ':' || c == '=' || c == '{'))) {
                break;
            }
        }
        return pos;
    }

    std::string_view Trimmed(size_t start) const
    {
        size_t end = fPos;
        while (end > start && IsBlank(fText[end - 1])) {
            --end;
        }
        return fText.substr(start, end - start);
    }

    std::string_view fText;
    size_t fPos = 0;
};

// Steps over one ',' or ';' after an item; a missing separator is allowed before the next item.
void SkipSeparator(Reader& reader)
{
    reader.SkipBlanks();
    if (!reader.AtEnd() && (reader.Peek() == ',' || reader.Peek() == ';')) {
        reader.Advance();
    }
}

bool NeedsQuotes(std::string_view text)
{
    return text.empty() || IsQuote(text[0]) || text.find_first_of(" ,;=:{}/\t\r\n\v\f") != std::string_view::npos;
}

bool IsOneBlock(std::string_view text)
{
    if (!IsBlockText(text)) {
        return false;
    }
    try {
        return Reader(text).SkipBlock(0) == text.size();
    } catch (const FormatException&) {
        return false;
    }
}

std::string WriteItem(std::string_view text)
{
    return NeedsQuotes(text) ? Quote(text) : std::string(text);
}

// Appends the list's items, each made from its raw text by `make`.
template <class Item, class Make>
void ReadList(std::string_view text, std::vector<Item>& items, Make make)
{
    Reader reader(text);
    reader.EnterEnclosingBraces();
    for (reader.SkipBlanks(); !reader.AtEnd(); reader.SkipBlanks()) {
        if (reader.Peek() == ',' || reader.Peek() == ';') {
            items.push_back(make(std::string_view()));
            reader.Advance();
            continue;
        }
        items.push_back(make(reader.ReadItem()));
        SkipSeparator(reader);
    }
}

// Adds the entries, each value made from its raw text by `make`; keys already there stay.
template <class Value, class Make>
void ReadEntries(std::string_view text, std::map<std::string, Value>& entries, Make make)
{
    Reader reader(text);
    reader.EnterEnclosingBraces();
    for (reader.SkipBlanks(); !reader.AtEnd(); reader.SkipBlanks()) {
        if (reader.Peek() == ',' || reader.Peek() == ';') {
            reader.Advance();
            continue;
        }
        std::string key = reader.ReadKey();
        reader.SkipBlanks();
        if (reader.AtEnd() || (reader.Peek() != ':' && reader.Peek() != '=')) {
            throw FormatException("Missing ':' or '=' after key: " + Quote(key));
        }
        reader.Advance();
        reader.SkipBlanks();
        std::string_view value;
        if (!reader.AtEnd() && reader.Peek() != ',' && reader.Peek() != ';' && reader.Peek() != '}') {
            value = reader.ReadItem();
        }
        if (!entries.contains(key)) {
            entries.emplace(std::move(key), make(value));
        }
        SkipSeparator(reader);
    }
}

} // namespace

cTextPart::cTextPart(std::string text) : cTextPart(std::make_shared<const std::string>(std::move(text)), {})
{
    static_cast<std::string_view&>(*this) = *fText;
}

std::vector<std::string> ParseList(std::string_view text)
{
    std::vector<std::string> items;
    ParseListInto(text, items);
    return items;
}

void ParseListInto(std::string_view text, std::vector<std::string>& items)
{
    ReadList(text, items, [](std::string_view item) { return std::string(item); });
}

std::vector<cTextPart> ParseListParts(const cTextPart& text)
{
    std::vector<cTextPart> items;
    ReadList(text, items, [&text](std::string_view item) { return text.Part(item); });
    return items;
}

Velto::Description ParseKeyValueMap(const cTextPart& text)
{
    Velto::Description entries;
    ReadEntries(text, entries, [&text](std::string_view value) { return text.Part(value); });
    return entries;
}

void ParseKeyValueText(std::string_view text, std::map<std::string, std::string>& entries)
{
    ReadEntries(text, entries, [](std::string_view value) { return std::string(value); });
}

bool IsBlockText(std::string_view text)
{
    return !text.empty() && text[0] == '{';
}

std::string_view ValueOf(const Velto::Description& description, const std::string& key)
{
    const auto found = description.find(key);
    return found != description.end() ? std::string_view(found->second) : std::string_view();
}

cTextPart PartOf(const Velto::Description& description, const std::string& key)
{
    const auto found = description.find(key);
    return found != description.end() ? found->second : cTextPart();
}

std::string WriteKeyValueText(const std::map<std::string, std::string>& entries)
{
    std::string text;
    for (const auto& [key, value] : entries) {
        text.append(WriteItem(key)).append(": ").append(IsOneBlock(value) ? value : WriteItem(value)).append(",\n");
    }
    if (!text.empty()) {
        text.resize(text.size() - 2);
    }
    return text;
}

} // namespace Wex
