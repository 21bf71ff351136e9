// Import speed: a generated 1 MB drawing of 5000 paths (curves, gradients, strokes, a quarter of them
// with round joins and so outlined, groups)
// through parsing, the import and the written scene text. The target is under 1 s.
#include <cmath>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "ImportSvg/ImportSvg.h"
#include "ImportSvg/SceneWriter.h"

namespace {

std::string Drawing(int paths)
{
    std::ostringstream svg;
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"600\" viewBox=\"0 0 800 600\">\n"
        << "<linearGradient id=\"l\" x2=\"1\"><stop offset=\"0\" stop-color=\"#f80\"/>"
        << "<stop offset=\"1\" stop-color=\"#08f\"/></linearGradient>\n";
    for (int i = 0; i < paths; ++i) {
        if (i % 50 == 0)
            svg << (i ? "</g>\n" : "") << "<g id=\"group" << i / 50 << "\" transform=\"rotate(" << i % 7 << ")\">\n";
        const double x = (i * 37) % 760, y = (i * 53) % 560;
        svg << "<path id=\"shape" << i << "\" d=\"M" << x << " " << y;
        for (int k = 0; k < 5; ++k)
            svg << " c " << 3 + k << " -" << 4 + k << " " << 8 + k << " -" << 2 * k << " " << 10 + k << " " << k - 2;
        svg << " l -20 12 z\" fill=\"" << (i % 3 == 0 ? "url(#l)" : "#3a7") << "\" stroke=\"#123\" stroke-width=\"1.5\""
            << (i % 4 == 0 ? " stroke-linejoin=\"round\"" : " stroke-miterlimit=\"10\"") << " opacity=\"0.9\"/>\n";
    }
    svg << "</g>\n</svg>\n";
    return svg.str();
}

void ImportOneMegabyte(benchmark::State& state)
{
    const std::string svg = Drawing(5000);
    for (auto _ : state) {
        KUV::ImportSvg::Diagnostics diagnostics("bench.svg");
        const KUV::ImportSvg::SceneModel scene = KUV::ImportSvg::ImportDrawing(svg, {}, diagnostics);
        std::ostringstream out;
        KUV::ImportSvg::WriteScene(scene, out);
        benchmark::DoNotOptimize(out.str().size());
    }
    state.counters["svg_bytes"] = double(svg.size());
    state.counters["paths"] = 5000;
}
BENCHMARK(ImportOneMegabyte)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
