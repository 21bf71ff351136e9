// The body of a score pattern: drum step grids or notes and chords with lengths in sixteenths.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "Synth/Score.h"

namespace KUV::Synth {

// A fault in the score text at a line; the reader turns it into "FILE:LINE: message".
struct ScoreError : std::runtime_error {
    ScoreError(int line, const std::string& message)
        : std::runtime_error(message)
        , line(line)
    {
    }
    int line;
};

struct SourceLine {
    int number = 0;
    std::string text;
};

// Splits a line into words and expands "WORD*N" and "[ WORDS ]*N" repetitions.
std::vector<std::string> ExpandWords(const SourceLine& line);

// Fills pattern.events and pattern.steps from the body lines; throws ScoreError.
void ParsePatternBody(Pattern& pattern, bool drums, int stepsPerBar, const std::vector<SourceLine>& body, int openLine);

} // namespace KUV::Synth
