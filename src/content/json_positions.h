#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <vector>

// Where something stands in a text file: 1-based line, and 1-based column counted in
// characters (a UTF-8 sequence is one column; a byte-order mark takes none).
struct TextPosition {
    int line = 1;
    int column = 1;
};

// Where one value of a JSON document was written: its key (for an object member) and
// the value itself. An array element's key position is that of its value.
struct JsonLocation {
    TextPosition key;
    TextPosition value;
};

// The position of a byte offset in the text (an offset past the end is the end).
TextPosition positionOfOffset(const std::string& text, std::size_t offset);

// Where every value of a valid JSON document was written, as a tree of the document's
// shape: a pointer's steps are kept once each, so a large file costs memory in
// proportion to its size.
struct JsonLocations {
    struct Node {
        JsonLocation at;
        std::map<std::string, std::size_t> members;  // an object's values by key, as node numbers
        std::vector<std::size_t> elements;           // an array's
    };
    std::vector<Node> nodes;  // the root first
};

// Copying a JSON value, and locateJsonValues, go one call deeper per level of nesting, so
// the game and the checker refuse a document nested deeper than this before it gets there.
// No value the game reads lies half as deep.
constexpr int kMaxJsonNesting = 100;

// Where the first array or object nested deeper than kMaxJsonNesting opens, or the
// text's size when none does. Brackets inside strings do not count.
std::size_t tooDeepOffset(const std::string& text);

// Every value of a valid JSON document. For a duplicated key the last one counts, as the
// parser keeps it.
JsonLocations locateJsonValues(const std::string& text);

// The value a JSON pointer names ("" is the root, "/levels/0/name" a member of the first
// level), or null when the document has none there.
const JsonLocation* findJsonLocation(const JsonLocations& locations, const std::string& pointer);

// "a/b~c" -> "a~1b~0c": a key as one step of a JSON pointer.
std::string pointerStep(const std::string& key);
