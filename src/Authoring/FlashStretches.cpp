#include "Authoring/FlashStretches.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace KUV::Authoring {
namespace {

bool LargeTransition(const FrameMeasure& frame, FlashKind kind)
{
    return frame.Of(kind).transitionShare > CountingShare;
}

// The first large transition in the second that ends with frames[failing], else that frame.
std::size_t StretchStart(const std::vector<FrameMeasure>& frames, std::size_t failing, FlashKind kind)
{
    std::size_t start = failing;
    while (start > 0 && frames[failing].tick - frames[start - 1].tick <= FlashWindowMs - UpdateStep)
        --start;
    for (std::size_t i = start; i < failing; ++i)
        if (LargeTransition(frames[i], kind)) return i;
    return failing;
}

// The last large transition from first on up to frames[lastFailing], else that frame.
std::size_t StretchEnd(
    const std::vector<FrameMeasure>& frames, std::size_t first, std::size_t lastFailing, FlashKind kind)
{
    for (std::size_t i = lastFailing + 1; i-- > first;)
        if (LargeTransition(frames[i], kind)) return i;
    return lastFailing;
}

void AddStretches(const std::vector<FrameMeasure>& frames, FlashKind kind, std::vector<FlashStretch>& stretches)
{
    const std::size_t firstOfKind = stretches.size();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!frames[i].Of(kind).Fails()) continue;
        std::size_t j = i;
        FlashStretch stretch { kind, 0, 0, 0, 0 };
        for (; j < frames.size() && frames[j].Of(kind).Fails(); ++j) {
            stretch.rate = std::max(stretch.rate, frames[j].Of(kind).rate);
            stretch.share = std::max(stretch.share, frames[j].Of(kind).flashingShare);
        }
        const std::size_t start = StretchStart(frames, i, kind);
        stretch.first = frames[start].tick;
        stretch.last = frames[StretchEnd(frames, start, j - 1, kind)].tick;
        if (stretches.size() > firstOfKind && stretches.back().last >= stretch.first) {
            FlashStretch& previous = stretches.back();
            previous.last = std::max(previous.last, stretch.last);
            previous.rate = std::max(previous.rate, stretch.rate);
            previous.share = std::max(previous.share, stretch.share);
        } else {
            stretches.push_back(stretch);
        }
        i = j;
    }
}

std::string Fixed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string KindSummary(const std::vector<FrameMeasure>& frames, FlashKind kind)
{
    double rate = 0, share = 0;
    for (const FrameMeasure& frame : frames) {
        rate = std::max(rate, frame.Of(kind).rate);
        share = std::max(share, frame.Of(kind).flashingShare);
    }
    return std::string(KindName(kind)) + " at most " + Fixed(rate) + " a second, " + Fixed(100 * share)
        + " % of the frame above 3";
}

} // namespace

const char* KindName(FlashKind kind)
{
    return kind == FlashKind::General ? "general" : "red";
}

std::vector<FlashStretch> FailingStretches(const std::vector<FrameMeasure>& frames)
{
    std::vector<FlashStretch> stretches;
    AddStretches(frames, FlashKind::General, stretches);
    AddStretches(frames, FlashKind::Red, stretches);
    return stretches;
}

std::string StretchLine(const std::string& file, const FlashStretch& stretch)
{
    return file + ": warning: " + KindName(stretch.kind) + " flashes from " + std::to_string(stretch.first) + " to "
        + std::to_string(stretch.last) + " ms: " + Fixed(stretch.rate) + " a second over " + Fixed(100 * stretch.share)
        + " % of the frame";
}

std::vector<FlashStretch> ReadStretches(std::istream& text)
{
    std::vector<FlashStretch> stretches;
    for (std::string line; std::getline(text, line);) {
        const std::size_t at = line.rfind(": warning: ");
        if (at == std::string::npos) continue;
        std::istringstream words(line.substr(at + 11));
        std::string kind, flashes, from, to, ms;
        FlashStretch s;
        if (!(words >> kind >> flashes >> from >> s.first >> to >> s.last >> ms >> s.rate)) continue;
        if ((kind != "general" && kind != "red") || flashes != "flashes" || from != "from" || to != "to") continue;
        s.kind = kind == "red" ? FlashKind::Red : FlashKind::General;
        std::string a, second, over;
        if (words >> a >> second >> over >> s.share) s.share /= 100;
        stretches.push_back(s);
    }
    return stretches;
}

std::string FlashSummary(const std::vector<FrameMeasure>& frames, std::size_t failing)
{
    std::string text = std::to_string(frames.size()) + " frames";
    if (!frames.empty())
        text += " from " + std::to_string(frames.front().tick) + " to " + std::to_string(frames.back().tick) + " ms";
    text += ", " + std::to_string(failing) + (failing == 1 ? " failing stretch" : " failing stretches");
    return text + "; " + KindSummary(frames, FlashKind::General) + "; " + KindSummary(frames, FlashKind::Red);
}

} // namespace KUV::Authoring
