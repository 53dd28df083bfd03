#include "content/json_positions.h"

#include <nlohmann/json.hpp>

namespace {
bool startsWithByteOrderMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0; }

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// A recursive walk over a document the parser already accepted, so it trusts the syntax.
struct Scanner {
    const std::string& text;
    std::map<std::string, std::size_t> key_offsets;
    std::map<std::string, std::size_t> value_offsets;
    std::size_t at = 0;

    void skipSpace() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) ++at;
    }

    // Returns the decoded string that starts at the current quote and moves past it.
    std::string readString() {
        std::size_t start = at++;
        while (at < text.size() && text[at] != '"') at += text[at] == '\\' ? 2 : 1;
        ++at;
        return nlohmann::json::parse(text.substr(start, at - start)).get<std::string>();
    }

    void skipScalar() {
        while (at < text.size() && text[at] != ',' && text[at] != '}' && text[at] != ']' && text[at] != ' ' &&
               text[at] != '\n' && text[at] != '\r' && text[at] != '\t')
            ++at;
    }

    void value(const std::string& path) {
        skipSpace();
        value_offsets[path] = at;
        if (at >= text.size()) return;
        if (text[at] == '{') return object(path);
        if (text[at] == '[') return array(path);
        if (text[at] == '"') {
            readString();
            return;
        }
        skipScalar();
    }

    void object(const std::string& path) {
        ++at;
        for (skipSpace(); at < text.size() && text[at] != '}'; skipSpace()) {
            if (text[at] == ',') {
                ++at;
                continue;
            }
            std::size_t key_at = at;
            std::string child = path + "/" + pointerStep(readString());
            skipSpace();
            ++at;  // the colon
            key_offsets[child] = key_at;
            value(child);
        }
        ++at;
    }

    void array(const std::string& path) {
        ++at;
        std::size_t index = 0;
        for (skipSpace(); at < text.size() && text[at] != ']'; skipSpace()) {
            if (text[at] == ',') {
                ++at;
                continue;
            }
            std::string child = path + "/" + std::to_string(index++);
            key_offsets[child] = at;
            value(child);
        }
        ++at;
    }
};
}  // namespace

TextPosition positionOfOffset(const std::string& text, std::size_t offset) {
    if (offset > text.size()) offset = text.size();
    TextPosition position;
    std::size_t i = startsWithByteOrderMark(text) ? 3 : 0;
    for (; i < offset; ++i) {
        if (text[i] == '\n') {
            ++position.line;
            position.column = 1;
        } else if (!isContinuationByte(text[i])) {
            ++position.column;
        }
    }
    return position;
}

std::map<std::string, JsonLocation> locateJsonValues(const std::string& text) {
    Scanner scanner{text, {}, {}, startsWithByteOrderMark(text) ? std::size_t(3) : std::size_t(0)};
    scanner.value("");
    std::map<std::string, JsonLocation> located;
    for (const auto& [path, offset] : scanner.value_offsets) {
        TextPosition value = positionOfOffset(text, offset);
        auto key = scanner.key_offsets.find(path);
        located[path] = {key == scanner.key_offsets.end() ? value : positionOfOffset(text, key->second), value};
    }
    return located;
}

std::string pointerStep(const std::string& key) {
    std::string step;
    for (char c : key) {
        if (c == '~')
            step += "~0";
        else if (c == '/')
            step += "~1";
        else
            step += c;
    }
    return step;
}
