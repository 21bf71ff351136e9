// Any bytes as an SVG drawing: the import ends in a scene or an ImportError, never anything
// else, and the scene it makes is written out whole.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "ImportSvg/ImportSvg.h"
#include "ImportSvg/SceneWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    KUV::ImportSvg::Diagnostics diagnostics("fuzz.svg");
    for (const bool fitted : { true, false }) {
        KUV::ImportSvg::ImportOptions options;
        if (!fitted) options.width = 123;
        try {
            const KUV::ImportSvg::SceneModel scene = KUV::ImportSvg::ImportDrawing(text, options, diagnostics);
            std::ostringstream out;
            KUV::ImportSvg::WriteScene(scene, out);
        } catch (const KUV::ImportSvg::ImportError&) {
            return 0;
        }
    }
    return 0;
}
