#pragma once
// Shared pieces of the config.json and levels.json checkers.
#include "content/data_check.h"

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// Collects problems and places each at the key or the value the pointer names.
struct ProblemList {
    JsonLocations locations;
    std::vector<DataProblem> problems;

    void atKey(const std::string& pointer, const std::string& message);
    void atValue(const std::string& pointer, const std::string& message);
};

// The problems sorted by where they stand in the file (the parser keeps keys sorted by name).
std::vector<DataProblem> inFileOrder(std::vector<DataProblem> problems);

// Parses strictly; on a syntax error records it at its line and column and returns nothing.
std::optional<nlohmann::json> parseChecked(const std::string& text, ProblemList& list);

// The candidate closest to name by edit distance (the first of equals).
std::string nearestName(const std::string& name, const std::vector<std::string>& candidates);

// Reports a key outside the candidates with the nearest one it could have meant.
void reportUnknownKey(ProblemList& list, const std::string& pointer, const std::string& shown,
                      const std::vector<std::string>& candidates);

// A text in double quotes, its control characters escaped as JSON writes them, so a
// problem stays on one line whatever a key or a text holds.
std::string quotedText(const std::string& text);

// A value as the file wrote it, shortened: -3, 2.5, "blue", an object.
std::string shownValue(const nlohmann::json& value);

// Checks of one value; each reports under `name` and returns whether the value passed.
bool expectNumber(ProblemList& list, const std::string& pointer, const std::string& name, const nlohmann::json& value);
bool expectWholeNumber(ProblemList& list, const std::string& pointer, const std::string& name,
                       const nlohmann::json& value);
bool expectText(ProblemList& list, const std::string& pointer, const std::string& name, const nlohmann::json& value);
void expectAtLeast(ProblemList& list, const std::string& pointer, const std::string& name, double value,
                   double minimum);
void expectAbove(ProblemList& list, const std::string& pointer, const std::string& name, double value,
                 double minimum);
