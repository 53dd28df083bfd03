#include "content/json_positions.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>

namespace {
bool startsWithByteOrderMark(const std::string& text) { return text.compare(0, 3, "\xEF\xBB\xBF") == 0; }

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Turns byte offsets into positions in one pass over the text: each offset asked for is
// at or after the one before.
struct PositionCursor {
    const std::string& text;
    std::size_t offset;
    TextPosition position;

    explicit PositionCursor(const std::string& text) : text(text), offset(startsWithByteOrderMark(text) ? 3 : 0) {}

    TextPosition advanceTo(std::size_t target) {
        for (target = std::min(target, text.size()); offset < target; ++offset) {
            if (text[offset] == '\n') {
                ++position.line;
                position.column = 1;
            } else if (!isContinuationByte(text[offset])) {
                ++position.column;
            }
        }
        return position;
    }
};

// A recursive walk over a document the parser already accepted, so it trusts the syntax.
struct Scanner {
    const std::string& text;
    std::vector<JsonLocations::Node>& nodes;
    PositionCursor cursor{text};
    std::size_t at = cursor.offset;

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

    // Adds the value that starts here, its key written at key_offset, and returns its node.
    std::size_t value(std::size_t key_offset) {
        skipSpace();
        std::size_t node = nodes.size();
        TextPosition key = cursor.advanceTo(key_offset);
        nodes.push_back({{key, cursor.advanceTo(at)}, {}, {}});
        if (at >= text.size()) return node;
        if (text[at] == '{')
            object(node);
        else if (text[at] == '[')
            array(node);
        else if (text[at] == '"')
            readString();
        else
            skipScalar();
        return node;
    }

    void object(std::size_t node) {
        ++at;
        for (skipSpace(); at < text.size() && text[at] != '}'; skipSpace()) {
            if (text[at] == ',') {
                ++at;
                continue;
            }
            std::size_t key_at = at;
            std::string key = readString();
            skipSpace();
            ++at;  // the colon
            std::size_t child = value(key_at);
            nodes[node].members[key] = child;
        }
        ++at;
    }

    void array(std::size_t node) {
        ++at;
        for (skipSpace(); at < text.size() && text[at] != ']'; skipSpace()) {
            if (text[at] == ',') {
                ++at;
                continue;
            }
            std::size_t child = value(at);
            nodes[node].elements.push_back(child);
        }
        ++at;
    }
};

// "a~1b~0c" -> "a/b~c": one step of a JSON pointer as the key it names.
std::string keyOfStep(const std::string& step) {
    std::string key;
    for (std::size_t i = 0; i < step.size(); ++i) {
        if (step[i] == '~' && i + 1 < step.size() && (step[i + 1] == '0' || step[i + 1] == '1'))
            key += step[++i] == '0' ? '~' : '/';
        else
            key += step[i];
    }
    return key;
}

// The array index a step names; none for anything but a few decimal digits.
std::optional<std::size_t> indexOfStep(const std::string& step) {
    if (step.empty() || step.size() > 9) return std::nullopt;
    std::size_t index = 0;
    for (char c : step) {
        if (c < '0' || c > '9') return std::nullopt;
        index = index * 10 + std::size_t(c - '0');
    }
    return index;
}
}  // namespace

TextPosition positionOfOffset(const std::string& text, std::size_t offset) {
    return PositionCursor(text).advanceTo(offset);
}

JsonLocations locateJsonValues(const std::string& text) {
    JsonLocations located;
    Scanner scanner{text, located.nodes};
    scanner.value(scanner.at);
    return located;
}

const JsonLocation* findJsonLocation(const JsonLocations& locations, const std::string& pointer) {
    if (locations.nodes.empty() || (!pointer.empty() && pointer[0] != '/')) return nullptr;
    std::size_t node = 0;
    for (std::size_t at = 0; at < pointer.size();) {
        std::size_t end = std::min(pointer.find('/', at + 1), pointer.size());
        std::string step = pointer.substr(at + 1, end - at - 1);
        const JsonLocations::Node& current = locations.nodes[node];
        auto member = current.members.find(keyOfStep(step));
        std::optional<std::size_t> index = indexOfStep(step);
        if (member != current.members.end())
            node = member->second;
        else if (index && *index < current.elements.size())
            node = current.elements[*index];
        else
            return nullptr;
        at = end;
    }
    return &locations.nodes[node].at;
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

std::size_t tooDeepOffset(const std::string& text) {
    int depth = 0;
    bool in_string = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (in_string) {
            if (c == '\\') ++i;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxJsonNesting) return i;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return text.size();
}
