#include "content/data_check.h"
#include "content/data_check_parts.h"
#include "content/files.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

using nlohmann::json;

namespace {
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// At most 40 bytes, cut between characters.
std::string shortened(const std::string& text) {
    if (text.size() <= 40) return text;
    std::size_t cut = 37;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "...";
}

// The length of the well-formed UTF-8 character at text[i], or 0 when it is ill-formed.
std::size_t characterLength(const std::string& text, std::size_t i) {
    auto byte = [&](std::size_t k) { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u; };
    unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
    unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (length == 0 || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80) return 0;
    return length;
}

// The library quotes the bytes it last read, which may be ill-formed UTF-8: each such
// byte is shown as \xFF, so that every printed line is valid text.
std::string escapeIllFormed(const std::string& text) {
    std::string escaped;
    for (std::size_t i = 0; i < text.size();) {
        if (std::size_t length = characterLength(text, i)) {
            escaped.append(text, i, length);
            i += length;
        } else {
            const char digits[] = "0123456789ABCDEF";
            unsigned char byte = static_cast<unsigned char>(text[i++]);
            escaped += std::string("\\x") + digits[byte >> 4] + digits[byte & 0xF];
        }
    }
    return escaped;
}

// "parse error at line 3, column 0: syntax error ..." -> "syntax error ..."; the library's
// column is not reliable, so the position is computed from its byte offset instead.
std::string syntaxMessage(const std::string& what) {
    std::size_t column = what.find("column ");
    std::size_t colon = what.find(": ", column == std::string::npos ? 0 : column);
    return colon == std::string::npos ? what : what.substr(colon + 2);
}

// The library reports the last character it read, the end of the offending token; the
// fault is shown where that token begins.
std::size_t tokenStart(const std::string& text, std::size_t end) {
    if (end >= text.size()) return text.size();
    auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+'; };
    if (word(text[end])) {
        while (end > 0 && word(text[end - 1])) --end;
        return end;
    }
    if (text[end] == '"') {
        std::size_t open = end;
        while (open > 0) {
            --open;
            if (text[open] == '"' && (open == 0 || text[open - 1] != '\\')) return open;
            if (text[open] == '\n') break;
        }
    }
    return end;
}

// A pass of the parser that builds nothing and notes where it stopped: the library
// reports a number beyond a double's range by throwing, with no position, unless a
// handler of its own receives it.
struct FaultFinder : nlohmann::json_sax<json> {
    std::size_t offset = 0;  // where the last read token ends
    std::string token;
    int error_id = 0;
    std::string error;
    int depth = 0;
    bool too_deep = false;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return enter(); }
    bool key(string_t&) override { return true; }
    bool end_object() override { return --depth, true; }
    bool start_array(std::size_t) override { return enter(); }
    bool end_array() override { return --depth, true; }
    bool enter() {
        too_deep = ++depth > kMaxJsonNesting;
        return !too_deep;
    }
    bool parse_error(std::size_t position, const std::string& last_token, const json::exception& fault) override {
        offset = position;
        token = last_token;
        error_id = fault.id;
        error = fault.what();
        return false;
    }
};

// The problem where the parser stopped.
DataProblem describeFault(const std::string& text, const FaultFinder& finder) {
    if (finder.too_deep)
        return {positionOfOffset(text, tooDeepOffset(text)),
                "arrays and objects nested more than " + std::to_string(kMaxJsonNesting) +
                    " deep; no value the game reads lies that deep"};
    constexpr int kNumberOverflow = 406;
    if (finder.error_id == kNumberOverflow) {
        std::size_t start = finder.offset - std::min(finder.offset, finder.token.size());
        return {positionOfOffset(text, start), "number " + shortened(finder.token) +
                                                   " is out of range; no number can be larger than about 1.8e308 "
                                                   "or below -1.8e308"};
    }
    std::size_t offset = tokenStart(text, finder.offset > 0 ? finder.offset - 1 : 0);
    return {positionOfOffset(text, offset), escapeIllFormed(syntaxMessage(finder.error))};
}

std::string dataPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) return findDataFile(name);
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

// Checks one file and prints its problems; returns how many there were.
std::size_t checkFile(const std::string& path, std::vector<DataProblem> (*check)(const std::string&),
                      std::ostream& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        out << path << ": cannot be opened; the game would run on its built-in defaults\n";
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<DataProblem> problems = check(text);
    for (const DataProblem& problem : problems)
        out << path << ":" << problem.at.line << ":" << problem.at.column << ": " << problem.message << "\n";
    return problems.size();
}
}  // namespace

void ProblemList::atKey(const std::string& pointer, const std::string& message) {
    const JsonLocation* found = findJsonLocation(locations, pointer);
    problems.push_back({found ? found->key : TextPosition(), message});
}

void ProblemList::atValue(const std::string& pointer, const std::string& message) {
    const JsonLocation* found = findJsonLocation(locations, pointer);
    problems.push_back({found ? found->value : TextPosition(), message});
}

std::optional<json> parseChecked(const std::string& text, ProblemList& list) {
    FaultFinder finder;
    if (!json::sax_parse(text, &finder)) {
        list.problems.push_back(describeFault(text, finder));
        return std::nullopt;
    }
    list.locations = locateJsonValues(text);
    return json::parse(text);  // cannot fail: the same parser just accepted the text
}

std::vector<DataProblem> inFileOrder(std::vector<DataProblem> problems) {
    std::stable_sort(problems.begin(), problems.end(), [](const DataProblem& a, const DataProblem& b) {
        return a.at.line != b.at.line ? a.at.line < b.at.line : a.at.column < b.at.column;
    });
    return problems;
}

std::string nearestName(const std::string& name, const std::vector<std::string>& candidates) {
    std::string best;
    std::size_t best_distance = std::string::npos;
    for (const std::string& candidate : candidates) {
        std::size_t distance = editDistance(name, candidate);
        if (distance < best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

void reportUnknownKey(ProblemList& list, const std::string& pointer, const std::string& shown,
                      const std::vector<std::string>& candidates) {
    std::string message = "unknown key " + quotedText(shown) + ": the game never reads it";
    if (!candidates.empty()) message += "; did you mean \"" + nearestName(shown, candidates) + "\"?";
    list.atKey(pointer, message);
}

std::string quotedText(const std::string& text) {
    return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string shownValue(const json& value) {
    if (value.is_object()) return "an object";
    if (value.is_array()) return "an array";
    if (value.is_null()) return "null";
    return shortened(value.is_string() ? quotedText(value.get_ref<const std::string&>()) : value.dump());
}

bool expectNumber(ProblemList& list, const std::string& pointer, const std::string& name, const json& value) {
    if (value.is_number()) return true;
    list.atValue(pointer, name + " must be a number, found " + shownValue(value));
    return false;
}

bool expectWholeNumber(ProblemList& list, const std::string& pointer, const std::string& name, const json& value) {
    if (value.is_number_integer()) return true;
    list.atValue(pointer, name + " must be a whole number, found " + shownValue(value));
    return false;
}

bool expectText(ProblemList& list, const std::string& pointer, const std::string& name, const json& value) {
    if (value.is_string()) return true;
    list.atValue(pointer, name + " must be a text in quotes, found " + shownValue(value));
    return false;
}

namespace {
std::string shownNumber(double value) {
    std::ostringstream text;
    text << value;
    return text.str();
}
}  // namespace

void expectAtLeast(ProblemList& list, const std::string& pointer, const std::string& name, double value,
                   double minimum) {
    if (value >= minimum) return;
    std::string bound = minimum == 0 ? "must not be negative" : "must be at least " + shownNumber(minimum);
    list.atValue(pointer, name + " " + bound + ", found " + shownNumber(value));
}

void expectAbove(ProblemList& list, const std::string& pointer, const std::string& name, double value,
                 double minimum) {
    if (value > minimum) return;
    list.atValue(pointer, name + " must be above " + shownNumber(minimum) + ", found " + shownNumber(value));
}

int checkDataFiles(const std::string& directory, std::ostream& out) {
    std::string config = dataPath(directory, "config.json");
    std::string levels = dataPath(directory, "levels.json");
    std::size_t problems = checkFile(config, checkConfigText, out) + checkFile(levels, checkLevelsText, out);
    if (problems == 0)
        out << "No problems found in " << config << " and " << levels << ".\n";
    else
        out << problems << (problems == 1 ? " problem" : " problems") << " found in " << config << " and " << levels
            << ".\n";
    return problems == 0 ? 0 : 1;
}
