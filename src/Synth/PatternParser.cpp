#include "Synth/PatternParser.h"

#include <sstream>

#include "Synth/Pitch.h"

namespace KUV::Synth {

namespace {

constexpr int MaxRepeat = 256;
constexpr size_t MaxWords = 65536;

// The decimal number that is all of text, or 0.
int WholeNumber(const std::string& text)
{
    try {
        size_t used = 0;
        const int n = std::stoi(text, &used);
        return used == text.size() ? n : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

// "*N" at the end of word: strips it and returns N, or 1 when there is none.
int TakeRepeat(std::string& word, int line)
{
    const auto star = word.rfind('*');
    if (star == std::string::npos) return 1;
    const std::string count = word.substr(star + 1);
    word.erase(star);
    const int n = WholeNumber(count);
    if (n < 1 || n > MaxRepeat) throw ScoreError(line, "bad repeat count \"" + count + "\" (1 to 256)");
    return n;
}

std::vector<std::string> SplitWords(const std::string& text)
{
    std::string spaced;
    for (char c : text) {
        if (c == '[')
            spaced += " [ ";
        else if (c == ']')
            spaced += " ]";
        else
            spaced += c;
    }
    std::istringstream in(spaced);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

void Append(std::vector<std::string>& to, const std::vector<std::string>& words, int times, int line)
{
    if (to.size() + words.size() * times > MaxWords)
        throw ScoreError(line, "the line repeats to more than " + std::to_string(MaxWords) + " words");
    for (int i = 0; i < times; ++i)
        to.insert(to.end(), words.begin(), words.end());
}

int ParseLength(const std::string& text, int line)
{
    const int n = WholeNumber(text);
    if (n < 1 || n > 1024) throw ScoreError(line, "bad length \"" + text + "\" (sixteenths, 1 to 1024)");
    return n;
}

void CheckBarLine(int step, int stepsPerBar, int line)
{
    if (step % stepsPerBar != 0)
        throw ScoreError(line,
            "bar line after " + std::to_string(step) + " sixteenths is not on a bar (" + std::to_string(stepsPerBar)
                + " each)");
}

// A grid word: "X" an accented hit, "x" a hit, "." or "-" a rest, one sixteenth each.
void ReadGrid(Pattern& pattern, const std::string& word, int line)
{
    for (char c : word) {
        if (c == 'X' || c == 'x') {
            PatternEvent hit;
            hit.step = pattern.steps;
            hit.velocity = c == 'X' ? 1.0 : 0.65;
            pattern.events.push_back(hit);
        } else if (c != '.' && c != '-') {
            throw ScoreError(line, std::string("bad step '") + c + "' in \"" + word + "\" (X, x, . or -)");
        }
        ++pattern.steps;
    }
}

// "NOTE:LEN", "CHORD:LEN" or "r:LEN".
void ReadNote(Pattern& pattern, const std::string& word, int line)
{
    const auto colon = word.find(':');
    if (colon == std::string::npos) throw ScoreError(line, "\"" + word + "\" needs a length, e.g. A4:4");
    const std::string symbol = word.substr(0, colon);
    const int length = ParseLength(word.substr(colon + 1), line);
    if (symbol != "r") {
        PatternEvent event;
        event.step = pattern.steps;
        event.length = length;
        if (const auto midi = ParseNote(symbol)) {
            event.pitches.push_back(*midi);
        } else if (const auto chord = ParseChord(symbol)) {
            event.chordRoot = chord->root;
            event.chordIntervals = chord->intervals;
        } else {
            throw ScoreError(line, "\"" + symbol + "\" is neither a note (A4, C#5) nor a chord (Am, Fmaj7) nor r");
        }
        pattern.events.push_back(event);
    }
    pattern.steps += length;
}

} // namespace

std::vector<std::string> ExpandWords(const SourceLine& line)
{
    const auto words = SplitWords(line.text);
    std::vector<std::string> out;
    std::vector<std::string> group;
    bool inGroup = false;
    for (auto word : words) {
        if (word == "[") {
            if (inGroup) throw ScoreError(line.number, "groups do not nest");
            inGroup = true;
        } else if (word[0] == ']') {
            if (!inGroup) throw ScoreError(line.number, "\"]\" without \"[\"");
            word.erase(0, 1);
            const int times = word.empty() ? 1 : TakeRepeat(word, line.number);
            Append(out, group, times, line.number);
            group.clear();
            inGroup = false;
        } else {
            const int times = TakeRepeat(word, line.number);
            if (word.empty()) throw ScoreError(line.number, "a repeat needs something to repeat");
            Append(inGroup ? group : out, { word }, times, line.number);
        }
    }
    if (inGroup) throw ScoreError(line.number, "\"[\" is not closed on its line");
    return out;
}

void ParsePatternBody(Pattern& pattern, bool drums, int stepsPerBar, const std::vector<SourceLine>& body, int openLine)
{
    for (const auto& line : body) {
        for (const auto& word : ExpandWords(line)) {
            if (word == "|")
                CheckBarLine(pattern.steps, stepsPerBar, line.number);
            else if (drums)
                ReadGrid(pattern, word, line.number);
            else
                ReadNote(pattern, word, line.number);
        }
    }
    if (pattern.steps == 0 || pattern.steps % stepsPerBar != 0)
        throw ScoreError(openLine,
            "pattern \"" + pattern.name + "\" is " + std::to_string(pattern.steps)
                + " sixteenths long, not a whole number of bars (" + std::to_string(stepsPerBar) + " each)");
}

} // namespace KUV::Synth
