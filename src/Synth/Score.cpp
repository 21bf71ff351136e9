#include "Synth/Score.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "Synth/PatternParser.h"

namespace KUV::Synth {

bool IsDrum(Instrument instrument)
{
    return instrument == Instrument::Kick || instrument == Instrument::Snare || instrument == Instrument::Hat;
}

double Score::MsPerBar() const
{
    return 60000.0 / bpm * beatsPerBar;
}

std::int64_t Score::SectionStartMs(size_t index) const
{
    return std::llround(sections.at(index).startBar * MsPerBar());
}

int Score::TotalBars() const
{
    return sections.empty() ? 0 : sections.back().startBar + sections.back().bars;
}

const Voice* Score::FindVoice(const std::string& name) const
{
    for (const auto& voice : voices)
        if (voice.name == name) return &voice;
    return nullptr;
}

const Pattern* Score::FindPattern(const std::string& voice, const std::string& name) const
{
    for (const auto& pattern : patterns)
        if (pattern.voice == voice && pattern.name == name) return &pattern;
    return nullptr;
}

namespace {

// Longer scores would need more memory for their sample buffers than a soundtrack deserves.
constexpr int MaxScoreMs = 20 * 60000;

double ParseNumber(const std::string& text, int line, const std::string& what, double low, double high)
{
    double value = NAN;
    try {
        size_t used = 0;
        value = std::stod(text, &used);
        if (used != text.size()) value = NAN;
    } catch (const std::exception&) {
        value = NAN;
    }
    if (!(value >= low && value <= high)) {
        std::ostringstream message;
        message << what << " must be a number from " << low << " to " << high << ", not \"" << text << "\"";
        throw ScoreError(line, message.str());
    }
    return value;
}

int ParseInteger(const std::string& text, int line, const std::string& what, int low, int high)
{
    const double value = ParseNumber(text, line, what, low, high);
    if (value != std::floor(value)) throw ScoreError(line, what + " must be a whole number, not \"" + text + "\"");
    return static_cast<int>(value);
}

const std::map<std::string, Instrument>& Instruments()
{
    static const std::map<std::string, Instrument> instruments = {
        { "kick", Instrument::Kick },
        { "snare", Instrument::Snare },
        { "hat", Instrument::Hat },
        { "bass", Instrument::Bass },
        { "pad", Instrument::Pad },
        { "pluck", Instrument::Pluck },
        { "lead", Instrument::Lead },
    };
    return instruments;
}

void Expect(const std::vector<std::string>& words, size_t count, int line, const std::string& usage)
{
    if (words.size() != count) throw ScoreError(line, "\"" + words[0] + "\" is written " + usage);
}

// "A-B": a range of bars inside a section of the given length.
std::pair<int, int> ParseBars(const std::string& text, const Section& section, int line)
{
    const auto dash = text.find('-');
    if (dash == std::string::npos) throw ScoreError(line, "bars are written FROM-TO, e.g. 0-4, not \"" + text + "\"");
    const int from = ParseInteger(text.substr(0, dash), line, "a bar", 0, 100000);
    const int to = ParseInteger(text.substr(dash + 1), line, "a bar", 0, 100000);
    if (from >= to || to > section.bars)
        throw ScoreError(line,
            "bars " + text + " do not lie inside section \"" + section.name + "\" (bars 0-"
                + std::to_string(section.bars) + ")");
    return { from, to };
}

// A comment starts with a "#" that begins a word, so sharps such as G#4 stay notes.
size_t CommentStart(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) return i;
    return std::string::npos;
}

// A voice option: its word, what its message calls it, its range and the field it sets.
struct RealOption {
    const char* option;
    const char* what;
    double low, high;
    double Voice::*field;
};
struct WholeOption {
    const char* option;
    const char* what;
    int low, high;
    int Voice::*field;
};
constexpr RealOption RealVoiceOptions[] = { { "gain", "the gain", -60, 12, &Voice::gainDb },
    { "pan", "the pan", -1, 1, &Voice::pan }, { "delay", "the delay send", 0, 1, &Voice::delaySend },
    { "reverb", "the reverb send", 0, 1, &Voice::reverbSend }, { "decay", "the decay", 0.1, 50, &Voice::decay },
    { "duck", "the duck", 0, 1, &Voice::duck } };
constexpr WholeOption WholeVoiceOptions[]
    = { { "octave", "the octave", 1, 7, &Voice::octave }, { "arpeggio", "the arpeggio", 0, 16, &Voice::arpeggio } };

class Reader {
public:
    explicit Reader(std::istream& in) { ReadLines(in); }

    Score Read()
    {
        while (m_Next < m_Lines.size()) {
            const SourceLine& line = m_Lines[m_Next++];
            Statement(line, ExpandWords(line));
        }
        Finish();
        return m_Score;
    }

private:
    void ReadLines(std::istream& in)
    {
        std::string text;
        for (int number = 1; std::getline(in, text); ++number) {
            m_LastLine = number;
            text = text.substr(0, CommentStart(text));
            if (text.find_first_not_of(" \t\r") != std::string::npos) m_Lines.push_back({ number, text });
        }
    }

    void Statement(const SourceLine& line, const std::vector<std::string>& words)
    {
        struct Keyword {
            const char* word;
            void (Reader::*read)(int line, const std::vector<std::string>& words);
        };
        static constexpr Keyword Statements[]
            = { { "tempo", &Reader::Tempo }, { "metre", &Reader::Metre }, { "key", &Reader::Key },
                  { "seed", &Reader::Seed }, { "section", &Reader::SectionLine }, { "voice", &Reader::VoiceLine },
                  { "pattern", &Reader::PatternBlock }, { "arrange", &Reader::ArrangeBlock } };
        const std::string& keyword = words[0];
        for (const Keyword& statement : Statements)
            if (keyword == statement.word) return (this->*statement.read)(line.number, words);
        throw ScoreError(line.number, "unknown statement \"" + keyword + "\"");
    }

    void Tempo(int line, const std::vector<std::string>& words)
    {
        Expect(words, 2, line, "tempo BPM");
        m_Score.bpm = ParseNumber(words[1], line, "the tempo", 20, 400);
    }

    void Metre(int line, const std::vector<std::string>& words)
    {
        Expect(words, 2, line, "metre BEATS/4");
        const auto slash = words[1].find('/');
        if (slash == std::string::npos || words[1].substr(slash + 1) != "4")
            throw ScoreError(line, "the metre is written BEATS/4, e.g. 4/4, not \"" + words[1] + "\"");
        m_Score.beatsPerBar = ParseInteger(words[1].substr(0, slash), line, "the beats per bar", 1, 16);
    }

    void Key(int line, const std::vector<std::string>& words)
    {
        if (words.size() < 2) throw ScoreError(line, "\"key\" is written key NAME, e.g. key A minor");
        m_Score.key = words[1];
        for (size_t i = 2; i < words.size(); ++i)
            m_Score.key += " " + words[i];
    }

    void Seed(int line, const std::vector<std::string>& words)
    {
        Expect(words, 2, line, "seed NUMBER");
        m_Score.seed = static_cast<std::uint32_t>(ParseInteger(words[1], line, "the seed", 1, 2147483647));
    }

    void SectionLine(int line, const std::vector<std::string>& words)
    {
        Expect(words, 4, line, "section NAME START-BAR BARS");
        Section section { words[1], ParseInteger(words[2], line, "the start bar", 0, 100000),
            ParseInteger(words[3], line, "the number of bars", 1, 100000) };
        const int expected = m_Score.TotalBars();
        if (section.startBar != expected)
            throw ScoreError(line,
                "section \"" + section.name + "\" starts at bar " + std::to_string(section.startBar)
                    + ", but the previous section ends at bar " + std::to_string(expected));
        if (FindSection(section.name)) throw ScoreError(line, "section \"" + section.name + "\" is defined twice");
        m_Score.sections.push_back(section);
    }

    void VoiceLine(int line, const std::vector<std::string>& words)
    {
        if (words.size() < 3 || words.size() % 2 == 0)
            throw ScoreError(line, "\"voice\" is written voice NAME INSTRUMENT [OPTION VALUE]...");
        const auto instrument = Instruments().find(words[2]);
        if (instrument == Instruments().end()) throw ScoreError(line, "unknown instrument \"" + words[2] + "\"");
        if (m_Score.FindVoice(words[1])) throw ScoreError(line, "voice \"" + words[1] + "\" is defined twice");
        Voice voice;
        voice.name = words[1];
        voice.instrument = instrument->second;
        for (size_t i = 3; i < words.size(); i += 2)
            VoiceOption(voice, words[i], words[i + 1], line);
        m_Score.voices.push_back(voice);
    }

    static void VoiceOption(Voice& voice, const std::string& option, const std::string& value, int line)
    {
        for (const RealOption& real : RealVoiceOptions)
            if (option == real.option) {
                voice.*real.field = ParseNumber(value, line, real.what, real.low, real.high);
                return;
            }
        for (const WholeOption& whole : WholeVoiceOptions)
            if (option == whole.option) {
                voice.*whole.field = ParseInteger(value, line, whole.what, whole.low, whole.high);
                return;
            }
        throw ScoreError(line, "unknown voice option \"" + option + "\"");
    }

    // The lines up to the matching "end".
    std::vector<SourceLine> Block(int openLine, const std::string& what)
    {
        std::vector<SourceLine> body;
        while (m_Next < m_Lines.size()) {
            const SourceLine& line = m_Lines[m_Next++];
            const auto words = ExpandWords(line);
            if (words.size() == 1 && words[0] == "end") return body;
            body.push_back(line);
        }
        throw ScoreError(openLine, what + " has no \"end\"");
    }

    void PatternBlock(int line, const std::vector<std::string>& words)
    {
        Expect(words, 3, line, "pattern VOICE NAME ... end");
        if (m_Score.beatsPerBar == 0) throw ScoreError(line, "the metre must come before the first pattern");
        const Voice* voice = m_Score.FindVoice(words[1]);
        if (!voice) throw ScoreError(line, "pattern for unknown voice \"" + words[1] + "\"");
        if (m_Score.FindPattern(words[1], words[2]))
            throw ScoreError(line, "pattern \"" + words[2] + "\" of voice \"" + words[1] + "\" is defined twice");
        Pattern pattern;
        pattern.voice = words[1];
        pattern.name = words[2];
        const auto body = Block(line, "pattern \"" + words[2] + "\"");
        ParsePatternBody(pattern, IsDrum(voice->instrument), m_Score.StepsPerBar(), body, line);
        m_Score.patterns.push_back(pattern);
    }

    void ArrangeBlock(int line, const std::vector<std::string>& words)
    {
        Expect(words, 2, line, "arrange SECTION ... end");
        const Section* section = FindSection(words[1]);
        if (!section) throw ScoreError(line, "arrangement for unknown section \"" + words[1] + "\"");
        for (const auto& entry : Block(line, "arrangement of \"" + words[1] + "\""))
            ArrangeLine(*section, entry.number, ExpandWords(entry));
    }

    void ArrangeLine(const Section& section, int line, const std::vector<std::string>& words)
    {
        if (words[0] == "fadein" || words[0] == "fadeout") {
            Expect(words, 2, line, words[0] + " FROM-TO");
            const auto [from, to] = ParseBars(words[1], section, line);
            m_Score.fades.push_back({ section.startBar + from, section.startBar + to, words[0] == "fadein" });
            return;
        }
        if (words.size() < 2 || words.size() % 2 != 0)
            throw ScoreError(
                line, "an arrangement line is written VOICE PATTERN [bars A-B] [gain DB] [bright X] [transpose N]");
        if (!m_Score.FindVoice(words[0])) throw ScoreError(line, "unknown voice \"" + words[0] + "\"");
        if (!m_Score.FindPattern(words[0], words[1]))
            throw ScoreError(line, "voice \"" + words[0] + "\" has no pattern \"" + words[1] + "\"");
        Part part;
        part.section = static_cast<size_t>(&section - m_Score.sections.data());
        part.voice = words[0];
        part.pattern = words[1];
        part.toBar = section.bars;
        for (size_t i = 2; i < words.size(); i += 2)
            PartOption(part, section, words[i], words[i + 1], line);
        m_Score.parts.push_back(part);
    }

    static void PartOption(
        Part& part, const Section& section, const std::string& option, const std::string& value, int line)
    {
        if (option == "bars")
            std::tie(part.fromBar, part.toBar) = ParseBars(value, section, line);
        else if (option == "gain")
            part.gainDb = ParseNumber(value, line, "the gain", -60, 12);
        else if (option == "bright")
            part.bright = ParseNumber(value, line, "the brightness", 0.1, 4);
        else if (option == "transpose")
            part.transpose = ParseInteger(value, line, "the transposition", -24, 24);
        else
            throw ScoreError(line, "unknown arrangement option \"" + option + "\"");
    }

    const Section* FindSection(const std::string& name) const
    {
        for (const auto& section : m_Score.sections)
            if (section.name == name) return &section;
        return nullptr;
    }

    void Finish() const
    {
        if (m_Score.bpm == 0) throw ScoreError(m_LastLine, "the score has no \"tempo\"");
        if (m_Score.beatsPerBar == 0) throw ScoreError(m_LastLine, "the score has no \"metre\"");
        if (m_Score.sections.empty()) throw ScoreError(m_LastLine, "the score has no sections");
        if (m_Score.TotalBars() * m_Score.MsPerBar() > MaxScoreMs)
            throw ScoreError(m_LastLine,
                "the sections last " + std::to_string(m_Score.TotalBars()) + " bars, more than "
                    + std::to_string(MaxScoreMs / 60000) + " minutes");
    }

    std::vector<SourceLine> m_Lines;
    size_t m_Next = 0;
    int m_LastLine = 0;
    Score m_Score;
};

} // namespace

std::optional<Score> ReadScore(std::istream& in, const std::string& fileName, std::string& error)
{
    try {
        return Reader(in).Read();
    } catch (const ScoreError& fault) {
        error = fileName + ":" + std::to_string(fault.line) + ": " + fault.what();
        return std::nullopt;
    }
}

std::optional<Score> ReadScoreFile(const std::string& path, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open the score";
        return std::nullopt;
    }
    return ReadScore(in, path, error);
}

} // namespace KUV::Synth
